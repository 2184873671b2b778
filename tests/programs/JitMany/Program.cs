// Test program for the JIT records: methods compiled once, compiled again at
// a later tier, replaced on the stack while they run, thousands of small
// methods, and methods of collectible emitted assemblies. Each mode prints a
// result that does not depend on how the code was compiled, so that a run
// under the profiler can be compared with a plain run.
using System;
using System.Runtime;
using System.Threading;

namespace JitMany
{
    internal static class Program
    {
        private static int Main(string[] args)
        {
            string mode = args.Length > 0 ? args[0] : "hello";
            int count = args.Length > 1 ? int.Parse(args[1]) : 0;
            int result = Run(mode, count);
            // The runtime closes its perf map when it shuts down: promotions
            // the run caused are let finish first, so that the map lists them.
            if (mode == "tiers" || mode == "dynamic" || mode == "bulk-wait") Settle();
            if (mode == "bulk-wait")
            {
                // For tests that end the process from outside (SIGKILL):
                // everything is compiled, and stays so until then.
                Console.WriteLine("ready");
                Thread.Sleep(Timeout.Infinite);
            }
            return result;
        }

        private static int Run(string mode, int count)
        {
            switch (mode)
            {
                case "hello":
                    Console.WriteLine("hello from JitMany");
                    return 0;
                case "tiers":
                    Console.WriteLine("tiers sum=" + Tiers.RunHot(count > 0 ? count : 60) + " loop=" + Tiers.RunLoop(50_000_000));
                    return 0;
                case "bulk":
                case "bulk-wait":
                    Console.WriteLine("bulk methods=" + BulkMethods.Count + " sum=" + BulkMethods.CallAll(7));
                    return 0;
                case "dynamic":
                    Console.WriteLine("dynamic sum=" + Emitted.Run(count > 0 ? count : 4, 20));
                    return 0;
                default:
                    Console.Error.WriteLine("unknown mode " + mode);
                    return 2;
            }
        }

        // Waits until the background compiler has been idle for a while.
        private static void Settle()
        {
            long last = JitInfo.GetCompiledMethodCount();
            for (int quiet = 0, round = 0; quiet < 3 && round < 50; round++)
            {
                Thread.Sleep(100);
                long now = JitInfo.GetCompiledMethodCount();
                quiet = now == last ? quiet + 1 : 0;
                last = now;
            }
        }
    }
}
