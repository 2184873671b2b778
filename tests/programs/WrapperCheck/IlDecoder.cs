using System;
using System.Collections.Generic;
using System.Reflection;
using System.Reflection.Emit;

namespace WrapperCheck
{
    internal readonly record struct Instruction(int Offset, OpCode OpCode, long Operand)
    {
        public int Token => (int)Operand;

        // The argument index of any ldarg form, or -1.
        public int ArgIndex
        {
            get
            {
                if (OpCode == OpCodes.Ldarg_0) return 0;
                if (OpCode == OpCodes.Ldarg_1) return 1;
                if (OpCode == OpCodes.Ldarg_2) return 2;
                if (OpCode == OpCodes.Ldarg_3) return 3;
                if (OpCode == OpCodes.Ldarg_S || OpCode == OpCodes.Ldarg) return (int)Operand;
                return -1;
            }
        }

        // The value of any ldc.i4 form, or null.
        public int? Int32Constant
        {
            get
            {
                short v = OpCode.Value;
                if (v >= OpCodes.Ldc_I4_M1.Value && v <= OpCodes.Ldc_I4_8.Value) return v - OpCodes.Ldc_I4_0.Value;
                if (OpCode == OpCodes.Ldc_I4_S || OpCode == OpCodes.Ldc_I4) return (int)Operand;
                return null;
            }
        }

        public override string ToString() => $"IL_{Offset:x4} {OpCode.Name} {Operand:x}";
    }

    internal static class IlDecoder
    {
        private static readonly Dictionary<short, OpCode> s_opCodes = Build();

        private static Dictionary<short, OpCode> Build()
        {
            var map = new Dictionary<short, OpCode>();
            foreach (FieldInfo f in typeof(OpCodes).GetFields(BindingFlags.Public | BindingFlags.Static))
            {
                if (f.GetValue(null) is OpCode op)
                {
                    map[op.Value] = op;
                }
            }
            return map;
        }

        public static List<Instruction> Decode(byte[] il)
        {
            var result = new List<Instruction>();
            int pos = 0;
            while (pos < il.Length)
            {
                int start = pos;
                short value = il[pos++];
                if (value == 0xFE)
                {
                    value = unchecked((short)(0xFE00 | il[pos++]));
                }
                if (!s_opCodes.TryGetValue(value, out OpCode op))
                {
                    throw new FormatException($"unknown opcode 0x{value:x} at IL_{start:x4}");
                }
                long operand = 0;
                switch (op.OperandType)
                {
                    case OperandType.InlineNone:
                        break;
                    case OperandType.ShortInlineBrTarget:
                    case OperandType.ShortInlineI:
                        operand = (sbyte)il[pos];
                        pos += 1;
                        break;
                    case OperandType.ShortInlineVar:
                        operand = il[pos];
                        pos += 1;
                        break;
                    case OperandType.InlineVar:
                        operand = BitConverter.ToUInt16(il, pos);
                        pos += 2;
                        break;
                    case OperandType.InlineI8:
                    case OperandType.InlineR:
                        operand = BitConverter.ToInt64(il, pos);
                        pos += 8;
                        break;
                    case OperandType.InlineSwitch:
                        int count = BitConverter.ToInt32(il, pos);
                        pos += 4 + 4 * count;
                        operand = count;
                        break;
                    default:
                        operand = BitConverter.ToInt32(il, pos);
                        pos += 4;
                        break;
                }
                result.Add(new Instruction(start, op, operand));
            }
            return result;
        }
    }
}
