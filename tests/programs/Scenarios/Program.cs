// Test program for the integration suite. Each scenario prints what it did so
// that a run under the profiler can be compared with a plain run.
using System;
using System.Collections.Generic;
using System.Threading;

namespace Scenarios
{
    internal static class Program
    {
        private static int Main(string[] args)
        {
            string scenario = args.Length > 0 ? args[0] : "hello";
            switch (scenario)
            {
                case "hello":
                    Console.WriteLine("hello from the scenarios program");
                    return 0;
                case "threads":
                    return Threads(args.Length > 1 ? int.Parse(args[1]) : 4);
                case "dynamic":
                    return Dynamic();
                case "exit-code":
                    Console.WriteLine("exiting with 7");
                    return 7;
                default:
                    Console.Error.WriteLine("unknown scenario " + scenario);
                    return 2;
            }
        }

        // Emits a module at run time: the profiler sees a module without a file.
        private static int Dynamic()
        {
            var assembly = System.Reflection.Emit.AssemblyBuilder.DefineDynamicAssembly(
                new System.Reflection.AssemblyName("Generated"), System.Reflection.Emit.AssemblyBuilderAccess.Run);
            var module = assembly.DefineDynamicModule("Generated");
            var type = module.DefineType("Answer", System.Reflection.TypeAttributes.Public);
            var method = type.DefineMethod("Get", System.Reflection.MethodAttributes.Public | System.Reflection.MethodAttributes.Static,
                                           typeof(int), System.Type.EmptyTypes);
            var il = method.GetILGenerator();
            il.Emit(System.Reflection.Emit.OpCodes.Ldc_I4, 42);
            il.Emit(System.Reflection.Emit.OpCodes.Ret);
            var built = type.CreateType();
            Console.WriteLine("dynamic answer=" + built.GetMethod("Get")!.Invoke(null, null));
            return 0;
        }

        // Starts threads that each take a shared lock; prints the counter.
        private static int Threads(int count)
        {
            object gate = new object();
            int counter = 0;
            var threads = new List<Thread>();
            for (int i = 0; i < count; i++)
            {
                var t = new Thread(() =>
                {
                    for (int n = 0; n < 1000; n++)
                    {
                        lock (gate) counter++;
                    }
                });
                threads.Add(t);
                t.Start();
            }
            foreach (var t in threads) t.Join();
            Console.WriteLine("threads=" + count + " counter=" + counter);
            return counter == count * 1000 ? 0 : 1;
        }
    }
}
