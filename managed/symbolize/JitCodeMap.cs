using System;
using System.Collections.Generic;

namespace Veskmrte.Symbolize
{
    internal readonly record struct CodeHit(JitRecord Record, uint NativeOffset);

    // Finds the compiled body that holds an address. Freed code can be
    // replaced by new code at the same address, so where ranges overlap the
    // record written last wins.
    internal sealed class JitCodeMap
    {
        private readonly Block[] _blocks;
        private readonly ulong _longest;

        private readonly record struct Block(ulong Start, ulong End, int Order, JitRecord Record, uint OffsetBefore);

        public JitCodeMap(IEnumerable<JitRecord> recordsInWriteOrder)
        {
            var blocks = new List<Block>();
            int order = 0;
            foreach (JitRecord record in recordsInWriteOrder)
            {
                // A body split into blocks counts its native offsets across
                // them in order.
                uint before = 0;
                foreach (CodeRange range in record.Ranges)
                {
                    blocks.Add(new Block(range.Start, range.Start + range.Size, order, record, before));
                    before += range.Size;
                    _longest = Math.Max(_longest, range.Size);
                }
                order++;
            }
            blocks.Sort((a, b) => a.Start.CompareTo(b.Start));
            _blocks = blocks.ToArray();
        }

        public CodeHit? Find(ulong address)
        {
            int index = LastStartingAtOrBefore(address);
            Block? best = null;
            // Only blocks that start within the longest block's size below the
            // address can reach it.
            for (int i = index; i >= 0 && address - _blocks[i].Start < _longest; i--)
            {
                Block block = _blocks[i];
                if (address < block.End && (best == null || block.Order > best.Value.Order)) best = block;
            }
            if (best == null) return null;
            Block hit = best.Value;
            return new CodeHit(hit.Record, hit.OffsetBefore + (uint)(address - hit.Start));
        }

        private int LastStartingAtOrBefore(ulong address)
        {
            int low = 0, high = _blocks.Length - 1, found = -1;
            while (low <= high)
            {
                int middle = low + (high - low) / 2;
                if (_blocks[middle].Start <= address)
                {
                    found = middle;
                    low = middle + 1;
                }
                else
                {
                    high = middle - 1;
                }
            }
            return found;
        }
    }
}
