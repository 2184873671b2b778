using System;
using System.Collections.Generic;
using System.Linq;
using System.Reflection;
using System.Reflection.Emit;

namespace WrapperCheck
{
    internal readonly record struct Instruction(int Offset, OpCode OpCode, long Operand)
    {
        public int Token => (int)Operand;

        // The argument index of any ldarg form, or -1.
        public int ArgIndex =>
            OpCode == OpCodes.Ldarg_0 ? 0 : OpCode == OpCodes.Ldarg_1 ? 1 : OpCode == OpCodes.Ldarg_2 ? 2 : OpCode == OpCodes.Ldarg_3 ? 3
            : OpCode == OpCodes.Ldarg_S || OpCode == OpCodes.Ldarg ? (int)Operand : -1;

        // The value of any ldc.i4 form, or null.
        public int? Int32Constant =>
            OpCode.Value >= OpCodes.Ldc_I4_M1.Value && OpCode.Value <= OpCodes.Ldc_I4_8.Value ? OpCode.Value - OpCodes.Ldc_I4_0.Value
            : OpCode == OpCodes.Ldc_I4_S || OpCode == OpCodes.Ldc_I4 ? (int)Operand : null;

        public override string ToString() => $"IL_{Offset:x4} {OpCode.Name} {Operand:x}";
    }

    internal static class IlDecoder
    {
        private static readonly Dictionary<short, OpCode> s_opCodes =
            typeof(OpCodes).GetFields(BindingFlags.Public | BindingFlags.Static).Select(f => f.GetValue(null)).OfType<OpCode>()
                           .ToDictionary(op => op.Value);

        public static List<Instruction> Decode(byte[] il)
        {
            var result = new List<Instruction>();
            for (int pos = 0; pos < il.Length;)
            {
                int start = pos;
                short value = il[pos++];
                if (value == 0xFE) value = unchecked((short)(0xFE00 | il[pos++]));
                if (!s_opCodes.TryGetValue(value, out OpCode op)) throw new FormatException($"unknown opcode 0x{value:x} at IL_{start:x4}");
                // The operand, and how many bytes it and a switch's targets take.
                (long operand, int size) = op.OperandType switch
                {
                    OperandType.InlineNone => (0L, 0),
                    OperandType.ShortInlineBrTarget or OperandType.ShortInlineI => ((sbyte)il[pos], 1),
                    OperandType.ShortInlineVar => (il[pos], 1),
                    OperandType.InlineVar => (BitConverter.ToUInt16(il, pos), 2),
                    OperandType.InlineI8 or OperandType.InlineR => (BitConverter.ToInt64(il, pos), 8),
                    OperandType.InlineSwitch => (BitConverter.ToInt32(il, pos), 4 + 4 * BitConverter.ToInt32(il, pos)),
                    _ => (BitConverter.ToInt32(il, pos), 4),
                };
                pos += size;
                result.Add(new Instruction(start, op, operand));
            }
            return result;
        }
    }
}
