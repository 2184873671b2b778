#include "cie/eh_sections.h"
#include "cie/byte_io.h"

namespace tavoli {
namespace cie {

namespace {

const uint32_t kSectionHeaderSize = 4;
const uint32_t kSmallClauseSize = 12;
const uint32_t kFatClauseSize = 24;
const uint32_t kSmallMaxDataSize = 0xFF;
const uint32_t kFatMaxDataSize = 0xFFFFFF;

void readClauses(const uint8_t* p, ExtraSection& section) {
    const bool fat = (section.kind & kSectFatFormat) != 0;
    const uint32_t clauseSize = fat ? kFatClauseSize : kSmallClauseSize;
    const uint32_t payload = section.dataSize - kSectionHeaderSize;
    const uint32_t count = payload / clauseSize;
    section.irregular = payload % clauseSize != 0;
    section.clauses.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* c = p + kSectionHeaderSize + static_cast<size_t>(i) * clauseSize;
        EhClause clause;
        if (fat) {
            clause.flags = readU32(c);
            clause.tryOffset = readU32(c + 4);
            clause.tryLength = readU32(c + 8);
            clause.handlerOffset = readU32(c + 12);
            clause.handlerLength = readU32(c + 16);
            clause.classTokenOrFilterOffset = readU32(c + 20);
        } else {
            clause.flags = readU16(c);
            clause.tryOffset = readU16(c + 2);
            clause.tryLength = c[4];
            clause.handlerOffset = readU16(c + 5);
            clause.handlerLength = c[7];
            clause.classTokenOrFilterOffset = readU32(c + 8);
        }
        section.clauses.push_back(clause);
    }
}

bool remapClause(const EhClause& in, const OffsetMap& map, EhClause& out) {
    uint32_t tryStart, tryEnd, handlerStart, handlerEnd;
    if (!map.map(in.tryOffset, tryStart) || !map.map(static_cast<int64_t>(in.tryOffset) + in.tryLength, tryEnd) ||
        !map.map(in.handlerOffset, handlerStart) ||
        !map.map(static_cast<int64_t>(in.handlerOffset) + in.handlerLength, handlerEnd))
        return false;
    out = in;
    out.tryOffset = tryStart;
    out.tryLength = tryEnd - tryStart;
    out.handlerOffset = handlerStart;
    out.handlerLength = handlerEnd - handlerStart;
    if ((in.flags & kClauseFilter) != 0 && !map.map(in.classTokenOrFilterOffset, out.classTokenOrFilterOffset))
        return false;
    return true;
}

bool fitsSmall(const EhClause& c) {
    return c.flags <= 0xFFFF && c.tryOffset <= 0xFFFF && c.tryLength <= 0xFF && c.handlerOffset <= 0xFFFF &&
           c.handlerLength <= 0xFF;
}

}  // namespace

bool parseSections(const uint8_t* data, size_t size, size_t start, std::vector<ExtraSection>& sections, size_t& end) {
    size_t at = start;
    for (;;) {
        if (at > size || size - at < kSectionHeaderSize) return false;
        const uint8_t* p = data + at;
        ExtraSection section;
        section.start = static_cast<uint32_t>(at);
        section.kind = p[0];
        section.dataSize = (section.kind & kSectFatFormat) != 0 ? readU24(p + 1) : p[1];
        // A section shorter than its own header would make the runtime walk
        // the same bytes again.
        if (section.dataSize < kSectionHeaderSize || section.dataSize > size - at) return false;
        if ((section.kind & kSectEhTable) != 0) readClauses(p, section);
        const bool more = (section.kind & kSectMoreSects) != 0;
        at += section.dataSize;
        sections.push_back(std::move(section));
        if (!more) break;
        at = static_cast<size_t>(alignUp4(at));
    }
    end = at;
    return true;
}

bool emitRemappedSections(const std::vector<ExtraSection>& sections, const OffsetMap& map, std::vector<uint8_t>& out) {
    for (size_t s = 0; s < sections.size(); ++s) {
        const ExtraSection& section = sections[s];
        if ((section.kind & kSectEhTable) == 0 || section.irregular) return false;
        std::vector<EhClause> clauses(section.clauses.size());
        bool small = (section.kind & kSectFatFormat) == 0;
        for (size_t i = 0; i < clauses.size(); ++i) {
            if (!remapClause(section.clauses[i], map, clauses[i])) return false;
            small = small && fitsSmall(clauses[i]);
        }
        const uint64_t smallSize = kSectionHeaderSize + static_cast<uint64_t>(clauses.size()) * kSmallClauseSize;
        const uint64_t fatSize = kSectionHeaderSize + static_cast<uint64_t>(clauses.size()) * kFatClauseSize;
        if (small && smallSize > kSmallMaxDataSize) small = false;
        if (!small && fatSize > kFatMaxDataSize) return false;

        while (out.size() % 4 != 0) out.push_back(0);
        uint8_t kind = static_cast<uint8_t>(section.kind & ~(kSectFatFormat | kSectMoreSects));
        if (!small) kind |= kSectFatFormat;
        if (s + 1 < sections.size()) kind |= kSectMoreSects;
        putU8(out, kind);
        if (small) {
            putU8(out, static_cast<uint32_t>(smallSize));
            putU16(out, 0);
            for (const EhClause& c : clauses) {
                putU16(out, c.flags);
                putU16(out, c.tryOffset);
                putU8(out, c.tryLength);
                putU16(out, c.handlerOffset);
                putU8(out, c.handlerLength);
                putU32(out, c.classTokenOrFilterOffset);
            }
        } else {
            putU24(out, static_cast<uint32_t>(fatSize));
            for (const EhClause& c : clauses) {
                putU32(out, c.flags);
                putU32(out, c.tryOffset);
                putU32(out, c.tryLength);
                putU32(out, c.handlerOffset);
                putU32(out, c.handlerLength);
                putU32(out, c.classTokenOrFilterOffset);
            }
        }
    }
    return true;
}

}  // namespace cie
}  // namespace tavoli
