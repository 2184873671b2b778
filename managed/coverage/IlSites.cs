using System.Collections.Generic;
using System.Reflection;
using System.Reflection.Emit;
using System.Reflection.Metadata;

namespace Veskmrte.Coverage
{
    // The call, callvirt and newobj instructions of one method body, with
    // whether a constrained. prefix came right before.
    internal static class IlSites
    {
        internal readonly record struct Site(ILOpCode OpCode, int Token, bool Constrained);

        private static readonly Dictionary<short, OperandType> s_operands = BuildOperands();

        private static Dictionary<short, OperandType> BuildOperands()
        {
            var operands = new Dictionary<short, OperandType>();
            foreach (FieldInfo field in typeof(OpCodes).GetFields(BindingFlags.Public | BindingFlags.Static))
            {
                if (field.GetValue(null) is OpCode op) operands[op.Value] = op.OperandType;
            }
            return operands;
        }

        public static IEnumerable<Site> Read(MethodBodyBlock body)
        {
            BlobReader il = body.GetILReader();
            bool constrained = false;
            while (il.RemainingBytes > 0)
            {
                short value = il.ReadByte();
                if (value == 0xFE) value = unchecked((short)(0xFE00 | il.ReadByte()));
                if (!s_operands.TryGetValue(value, out OperandType operand)) yield break;
                var op = (ILOpCode)(ushort)value;
                int token = 0;
                switch (operand)
                {
                    case OperandType.InlineNone: break;
                    case OperandType.ShortInlineBrTarget:
                    case OperandType.ShortInlineI:
                    case OperandType.ShortInlineVar: il.ReadByte(); break;
                    case OperandType.InlineVar: il.ReadInt16(); break;
                    case OperandType.InlineI8:
                    case OperandType.InlineR: il.ReadInt64(); break;
                    case OperandType.InlineSwitch:
                        int count = il.ReadInt32();
                        for (int i = 0; i < count; i++) il.ReadInt32();
                        break;
                    default: token = il.ReadInt32(); break;
                }
                if (op is ILOpCode.Call or ILOpCode.Callvirt or ILOpCode.Newobj) yield return new Site(op, token, constrained);
                constrained = op == ILOpCode.Constrained;
            }
        }
    }
}
