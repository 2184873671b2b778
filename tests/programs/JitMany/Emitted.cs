using System;
using System.Reflection;
using System.Reflection.Emit;
using System.Runtime.CompilerServices;

namespace JitMany
{
    // Methods of emitted, collectible assemblies: their module is dynamic,
    // and once an assembly is collected the runtime may place new code where
    // its code was.
    internal static class Emitted
    {
        public static long Run(int generations, int methods)
        {
            long sum = 0;
            for (int g = 0; g < generations; g++)
            {
                sum += RunGeneration(g, methods);
                for (int i = 0; i < 3; i++)
                {
                    GC.Collect();
                    GC.WaitForPendingFinalizers();
                }
            }
            return sum;
        }

        [MethodImpl(MethodImplOptions.NoInlining)]
        private static long RunGeneration(int generation, int methods)
        {
            var assembly = AssemblyBuilder.DefineDynamicAssembly(new AssemblyName("Emitted" + generation),
                                                                 AssemblyBuilderAccess.RunAndCollect);
            var module = assembly.DefineDynamicModule("Emitted" + generation);
            var type = module.DefineType("Generated",
                                         TypeAttributes.Public | TypeAttributes.Abstract | TypeAttributes.Sealed);
            for (int m = 0; m < methods; m++)
            {
                var method = type.DefineMethod("M" + m, MethodAttributes.Public | MethodAttributes.Static,
                                               typeof(int), new[] { typeof(int) });
                var il = method.GetILGenerator();
                il.Emit(OpCodes.Ldarg_0);
                il.Emit(OpCodes.Ldc_I4, m + 1);
                il.Emit(OpCodes.Mul);
                il.Emit(OpCodes.Ldc_I4, generation);
                il.Emit(OpCodes.Add);
                il.Emit(OpCodes.Ret);
            }
            Type created = type.CreateType();
            long sum = 0;
            for (int m = 0; m < methods; m++)
                sum += (int)created.GetMethod("M" + m)!.Invoke(null, new object[] { 3 })!;
            return sum;
        }
    }
}
