using System;
using System.Buffers.Binary;
using System.Collections.Generic;
using System.IO;
using System.Text;

namespace Veskmrte.Symbolize
{
    // The function symbols of a 64-bit little-endian ELF file, from its full
    // symbol table where it kept one, else from its dynamic symbols.
    internal sealed class ElfSymbols
    {
        private const uint SectionSymtab = 2;
        private const uint SectionDynsym = 11;
        private const byte TypeFunc = 2;
        private const byte TypeIndirectFunc = 10;
        private const int SymbolSize = 24;
        private const int SectionHeaderSize = 64;

        private readonly Symbol[] _symbols;

        private readonly record struct Symbol(ulong Value, ulong Size, string Name);

        private ElfSymbols(Symbol[] symbols)
        {
            _symbols = symbols;
        }

        public static readonly ElfSymbols None = new ElfSymbols(Array.Empty<Symbol>());

        // None when the file is not an ELF file this reader understands.
        public static ElfSymbols Read(string path)
        {
            byte[] data = File.ReadAllBytes(path);
            ReadOnlySpan<byte> file = data;
            if (file.Length < 64 || file[0] != 0x7f || file[1] != (byte)'E' || file[2] != (byte)'L' || file[3] != (byte)'F' ||
                file[4] != 2 /* 64-bit */ || file[5] != 1 /* little-endian */)
                return None;
            ulong sectionTable = BinaryPrimitives.ReadUInt64LittleEndian(file.Slice(0x28));
            ushort entrySize = BinaryPrimitives.ReadUInt16LittleEndian(file.Slice(0x3a));
            ushort count = BinaryPrimitives.ReadUInt16LittleEndian(file.Slice(0x3c));
            if (entrySize < SectionHeaderSize || !Fits(file, sectionTable, (ulong)entrySize * count)) return None;

            List<Symbol>? best = null;
            foreach (uint wanted in new[] { SectionSymtab, SectionDynsym })
            {
                for (int i = 0; i < count && best == null; i++)
                {
                    ReadOnlySpan<byte> header = file.Slice((int)sectionTable + i * entrySize, SectionHeaderSize);
                    if (BinaryPrimitives.ReadUInt32LittleEndian(header.Slice(4)) != wanted) continue;
                    uint link = BinaryPrimitives.ReadUInt32LittleEndian(header.Slice(40));
                    if (link >= count) continue;
                    ReadOnlySpan<byte> strings = file.Slice((int)sectionTable + (int)link * entrySize, SectionHeaderSize);
                    List<Symbol> found = ReadTable(file, header, strings);
                    if (found.Count > 0) best = found;
                }
                if (best != null) break;
            }
            if (best == null) return None;
            best.Sort((a, b) => a.Value.CompareTo(b.Value));
            return new ElfSymbols(best.ToArray());
        }

        private static List<Symbol> ReadTable(ReadOnlySpan<byte> file, ReadOnlySpan<byte> table, ReadOnlySpan<byte> strings)
        {
            var symbols = new List<Symbol>();
            ulong tableOffset = BinaryPrimitives.ReadUInt64LittleEndian(table.Slice(24));
            ulong tableSize = BinaryPrimitives.ReadUInt64LittleEndian(table.Slice(32));
            ulong stringsOffset = BinaryPrimitives.ReadUInt64LittleEndian(strings.Slice(24));
            ulong stringsSize = BinaryPrimitives.ReadUInt64LittleEndian(strings.Slice(32));
            if (!Fits(file, tableOffset, tableSize) || !Fits(file, stringsOffset, stringsSize)) return symbols;
            ReadOnlySpan<byte> names = file.Slice((int)stringsOffset, (int)stringsSize);
            for (ulong at = tableOffset; at + SymbolSize <= tableOffset + tableSize; at += SymbolSize)
            {
                ReadOnlySpan<byte> entry = file.Slice((int)at, SymbolSize);
                byte type = (byte)(entry[4] & 0xf);
                ushort section = BinaryPrimitives.ReadUInt16LittleEndian(entry.Slice(6));
                ulong value = BinaryPrimitives.ReadUInt64LittleEndian(entry.Slice(8));
                if ((type != TypeFunc && type != TypeIndirectFunc) || section == 0 || value == 0) continue;
                uint nameAt = BinaryPrimitives.ReadUInt32LittleEndian(entry);
                if (nameAt >= names.Length) continue;
                ReadOnlySpan<byte> name = names.Slice((int)nameAt);
                int end = name.IndexOf((byte)0);
                if (end <= 0) continue;
                ulong size = BinaryPrimitives.ReadUInt64LittleEndian(entry.Slice(16));
                symbols.Add(new Symbol(value, size, Encoding.UTF8.GetString(name.Slice(0, end))));
            }
            return symbols;
        }

        private static bool Fits(ReadOnlySpan<byte> file, ulong offset, ulong size) =>
            offset <= (ulong)file.Length && size <= (ulong)file.Length - offset && offset + size <= int.MaxValue;

        // "symbol+0xoffset" for an address of the file's own numbering; null
        // when no function holds it. A symbol without a size reaches to the
        // next one.
        public string? Find(ulong address)
        {
            int low = 0, high = _symbols.Length - 1, found = -1;
            while (low <= high)
            {
                int middle = low + (high - low) / 2;
                if (_symbols[middle].Value <= address)
                {
                    found = middle;
                    low = middle + 1;
                }
                else
                {
                    high = middle - 1;
                }
            }
            // Aliases share an address: any of them that holds it will do.
            for (int i = found; i >= 0 && _symbols[i].Value == _symbols[found].Value; i--)
            {
                Symbol symbol = _symbols[i];
                bool inside = symbol.Size > 0 ? address - symbol.Value < symbol.Size : NextStartAbove(found, address);
                if (inside) return address == symbol.Value ? symbol.Name : $"{symbol.Name}+0x{address - symbol.Value:x}";
            }
            return null;
        }

        private bool NextStartAbove(int index, ulong address)
        {
            for (int i = index + 1; i < _symbols.Length; i++)
                if (_symbols[i].Value != _symbols[index].Value) return address < _symbols[i].Value;
            return true;
        }
    }
}
