// Takes a lock at the end of known call chains of different shapes and, just
// before each, records how the runtime itself sees the stack: for every frame
// its method (token, module, name as reflection spells it), native and IL
// offsets, source file and line. Prints them as one JSON line, STACKS {...}.
// The tests compare them with the stacks the tool captured at the same locks
// and with what veskmrte-symbolize names.
using System;
using System.Collections.Generic;
using System.Diagnostics;
using System.Reflection;
using System.Runtime.CompilerServices;
using System.Text.Json;
using System.Threading;

namespace StackNames
{
    internal static class Program
    {
        private static int Main()
        {
            Chains.ThreeDeep();
            Chains.InLambda();
            Chains.Generic(42);
            new Box<string>.Inner().Run();
            _ = new Holder();
            Chains.LocalFunction();
            var thread = new Thread(Chains.ThreadBody);
            thread.Start();
            thread.Join();
            for (int round = 0; round < 4; round++)
            {
                for (int i = 0; i < 200; i++) Chains.Hot(false);
                Thread.Sleep(150);
            }
            Chains.Hot(true);
            Chains.CallsInlined();
            Console.WriteLine("STACKS " + JsonSerializer.Serialize(Probe.Recorded));
            return 0;
        }
    }

    internal static class Chains
    {
        [MethodImpl(MethodImplOptions.NoInlining)]
        public static void ThreeDeep() => Middle();

        [MethodImpl(MethodImplOptions.NoInlining)]
        private static void Middle() => Innermost();

        [MethodImpl(MethodImplOptions.NoInlining)]
        private static void Innermost() => Probe.Here("three-deep");

        [MethodImpl(MethodImplOptions.NoInlining)]
        public static void InLambda()
        {
            // Without NoInlining the lambda would leave by a tail call and
            // have no frame of its own.
            Action body = [MethodImpl(MethodImplOptions.NoInlining)] () => Probe.Here("lambda");
            body();
        }

        // One instantiation only, so that the method has one compiled body.
        [MethodImpl(MethodImplOptions.NoInlining)]
        public static void Generic<T>(T value)
        {
            if (value != null) Probe.Here("generic-method");
        }

        [MethodImpl(MethodImplOptions.NoInlining)]
        public static void LocalFunction()
        {
            Nested(3);

            [MethodImpl(MethodImplOptions.NoInlining)]
            static void Nested(int depth)
            {
                if (depth > 0) Nested(depth - 1);
                else Probe.Here("local-function");
            }
        }

        [MethodImpl(MethodImplOptions.NoInlining)]
        public static void ThreadBody() => Probe.Here("thread");

        private static int s_counter;

        // Called often enough to be compiled again at the optimising tier
        // where tiering is on; the last call is the probed one.
        [MethodImpl(MethodImplOptions.NoInlining)]
        public static void Hot(bool probe)
        {
            if (probe) Probe.Here("tiered");
            else s_counter++;
        }

        [MethodImpl(MethodImplOptions.AggressiveInlining)]
        private static int Inlined(int x) => x + 1;

        [MethodImpl(MethodImplOptions.NoInlining)]
        public static void CallsInlined()
        {
            s_counter = Inlined(s_counter);
            Probe.Here("inlined");
        }
    }

    internal sealed class Box<T>
    {
        internal sealed class Inner
        {
            [MethodImpl(MethodImplOptions.NoInlining)]
            public void Run() => Probe.Here("generic-type");
        }
    }

    internal sealed class Holder
    {
        [MethodImpl(MethodImplOptions.NoInlining)]
        public Holder() => Probe.Here("constructor");
    }

    internal static class Probe
    {
        private static readonly object s_gate = new object();
        public static readonly Dictionary<string, List<Dictionary<string, object?>>> Recorded =
            new Dictionary<string, List<Dictionary<string, object?>>>();

        [MethodImpl(MethodImplOptions.NoInlining)]
        public static void Here(string chain)
        {
            var trace = new StackTrace(true);
            var frames = new List<Dictionary<string, object?>>();
            foreach (StackFrame frame in trace.GetFrames())
            {
                MethodBase? method = frame.GetMethod();
                if (method == null) continue;
                frames.Add(new Dictionary<string, object?>
                {
                    ["token"] = method.MetadataToken,
                    ["module"] = method.Module.FullyQualifiedName,
                    ["name"] = NameOf(method),
                    ["nativeOffset"] = frame.GetNativeOffset(),
                    ["ilOffset"] = frame.GetILOffset(),
                    ["file"] = frame.GetFileName(),
                    ["line"] = frame.GetFileLineNumber(),
                });
            }
            lock (s_gate) Recorded[chain] = frames;
        }

        // Namespace.Type.Method of the method's definition.
        private static string NameOf(MethodBase method)
        {
            Type type = method.DeclaringType!;
            if (type.IsGenericType) type = type.GetGenericTypeDefinition();
            return type.FullName + "." + method.Name;
        }
    }
}
