using System;
using System.Buffers.Binary;
using System.Collections.Generic;
using System.IO;
using System.Text;

namespace Veskmrte.Symbolize
{
    internal readonly record struct CodeRange(ulong Start, uint Size);

    internal readonly record struct IlMapEntry(uint NativeStart, uint NativeEnd, uint IlOffset);

    // One compiled body: only what naming a frame needs.
    internal sealed class JitRecord
    {
        public JitRecord(uint methodToken, string? modulePath, CodeRange[] ranges, IlMapEntry[]? ilMap)
        {
            MethodToken = methodToken;
            ModulePath = modulePath;
            Ranges = ranges;
            IlMap = ilMap;
        }

        public uint MethodToken { get; }
        public string? ModulePath { get; }
        public CodeRange[] Ranges { get; }
        public IlMapEntry[]? IlMap { get; }
    }

    internal sealed class JitFileException : Exception
    {
        public JitFileException(string message) : base(message) { }
    }

    // Reads the records of a JIT file (docs/jit-file-format.md). A file cut
    // short or malformed part-way keeps the records before the damage, and
    // says so in Damage.
    internal sealed class JitFile
    {
        private const int HeaderMinimum = 32;
        private const ushort KnownMajor = 1;
        private const ushort MethodKind = 1;
        private const int MethodFixedSize = 56;
        private const uint FlagCodeRanges = 0x200;
        private const uint FlagModuleFileName = 0x2000;
        private const uint FlagIlMap = 0x20000;
        private static readonly byte[] Magic = Encoding.ASCII.GetBytes("VESKJIT\0");

        private JitFile(string path, uint processId, List<JitRecord> records, string? damage)
        {
            Path = path;
            ProcessId = processId;
            Records = records;
            Damage = damage;
        }

        public string Path { get; }
        public uint ProcessId { get; }
        public IReadOnlyList<JitRecord> Records { get; }
        public string? Damage { get; }

        public static JitFile Read(string path)
        {
            byte[] data;
            try
            {
                data = File.ReadAllBytes(path);
            }
            catch (Exception e) when (e is IOException || e is UnauthorizedAccessException)
            {
                throw new JitFileException($"cannot read JIT file {path}: {e.Message}");
            }
            if (data.Length < HeaderMinimum || !data.AsSpan(0, Magic.Length).SequenceEqual(Magic))
                throw new JitFileException($"{path} is not a JIT file");
            ushort major = BinaryPrimitives.ReadUInt16LittleEndian(data.AsSpan(8));
            if (major != KnownMajor)
                throw new JitFileException($"{path} has JIT file version {major}, which this tool does not know");
            uint headerSize = BinaryPrimitives.ReadUInt32LittleEndian(data.AsSpan(12));
            if (headerSize < HeaderMinimum || headerSize > data.Length)
                throw new JitFileException($"{path} has a malformed header");
            uint processId = BinaryPrimitives.ReadUInt32LittleEndian(data.AsSpan(20));

            var records = new List<JitRecord>();
            string? damage = null;
            long offset = headerSize;
            while (offset < data.Length)
            {
                if (data.Length - offset < 8)
                {
                    damage = $"cut off inside the record frame at offset {offset}";
                    break;
                }
                uint length = BinaryPrimitives.ReadUInt32LittleEndian(data.AsSpan((int)offset));
                // A zero length ends the records of a file whose writer did
                // not close it (its process died): the rest is unused space.
                if (length == 0)
                    break;
                if (length > data.Length - offset - 4)
                {
                    damage = $"cut off inside the record at offset {offset}";
                    break;
                }
                if (length < 4)
                {
                    damage = $"malformed record at offset {offset}";
                    break;
                }
                var body = new ReadOnlySpan<byte>(data, (int)offset + 4, (int)length);
                ushort kind = BinaryPrimitives.ReadUInt16LittleEndian(body);
                if (kind == MethodKind)
                {
                    JitRecord? record = ReadMethod(body);
                    if (record == null)
                    {
                        damage = $"malformed record at offset {offset}";
                        break;
                    }
                    records.Add(record);
                }
                offset += 4L + length;
            }
            return new JitFile(path, processId, records, damage);
        }

        // body starts at the kind field; null when its parts do not fit.
        private static JitRecord? ReadMethod(ReadOnlySpan<byte> body)
        {
            var reader = new SpanReader(body);
            reader.Skip(2);
            ushort fixedSize = reader.U16();
            if (fixedSize < MethodFixedSize || !reader.Fits(fixedSize)) return null;
            ReadOnlySpan<byte> fixedPart = body.Slice(4, fixedSize);
            uint token = BinaryPrimitives.ReadUInt32LittleEndian(fixedPart);
            uint flags = BinaryPrimitives.ReadUInt32LittleEndian(fixedPart.Slice(40));
            uint nameSize = BinaryPrimitives.ReadUInt32LittleEndian(fixedPart.Slice(44));
            uint rangeCount = BinaryPrimitives.ReadUInt32LittleEndian(fixedPart.Slice(48));
            uint mapCount = BinaryPrimitives.ReadUInt32LittleEndian(fixedPart.Slice(52));
            reader.Skip(fixedSize);

            if (!reader.Fits(nameSize)) return null;
            string? modulePath = (flags & FlagModuleFileName) != 0 && nameSize > 0
                ? Encoding.UTF8.GetString(reader.Take((int)nameSize))
                : SkipAndNull(ref reader, nameSize);

            var ranges = new List<CodeRange>();
            for (uint i = 0; i < rangeCount; i++)
            {
                if (!reader.Fits(16)) return null;
                ulong start = reader.U64();
                uint size = reader.U32();
                uint copied = reader.U32();
                if (copied > size || !reader.Fits(copied)) return null;
                reader.Skip(copied);
                if (size != 0) ranges.Add(new CodeRange(start, size));
            }

            if ((ulong)mapCount * 12 > (ulong)reader.Remaining) return null;
            var map = new IlMapEntry[mapCount];
            for (uint i = 0; i < mapCount; i++) map[i] = new IlMapEntry(reader.U32(), reader.U32(), reader.U32());

            return new JitRecord(token, modulePath,
                                 (flags & FlagCodeRanges) != 0 ? ranges.ToArray() : Array.Empty<CodeRange>(),
                                 (flags & FlagIlMap) != 0 ? map : null);
        }

        private static string? SkipAndNull(ref SpanReader reader, uint size)
        {
            reader.Skip(size);
            return null;
        }

        private ref struct SpanReader
        {
            private readonly ReadOnlySpan<byte> _data;
            private int _at;

            public SpanReader(ReadOnlySpan<byte> data)
            {
                _data = data;
                _at = 0;
            }

            public int Remaining => _data.Length - _at;
            public bool Fits(ulong size) => size <= (ulong)Remaining;
            public void Skip(ulong size) => _at += (int)size;

            public ReadOnlySpan<byte> Take(int size)
            {
                ReadOnlySpan<byte> part = _data.Slice(_at, size);
                _at += size;
                return part;
            }

            public ushort U16() => BinaryPrimitives.ReadUInt16LittleEndian(Take(2));
            public uint U32() => BinaryPrimitives.ReadUInt32LittleEndian(Take(4));
            public ulong U64() => BinaryPrimitives.ReadUInt64LittleEndian(Take(8));
        }
    }
}
