using System;
using System.Reflection;

namespace Veskmrte.Wrappers
{
    // Members that newer runtimes add to a type the wrappers are built
    // against: the assembly is compiled for the oldest supported runtime, so
    // it cannot name them, and finds them when a rewritten call first needs
    // one. Only a program built for a newer runtime names such a member, so
    // on that runtime the lookup succeeds.
    internal static class Newer
    {
        internal static IntPtr Method(Type type, string name, params Type[] parameters)
        {
            MethodInfo? method = type.GetMethod(name, BindingFlags.Public | BindingFlags.Static, null, parameters, null);
            if (method == null) throw new MissingMethodException(type.FullName, name);
            return method.MethodHandle.GetFunctionPointer();
        }
    }
}
