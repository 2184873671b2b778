// Exercises the redirected synchronisation APIs through call, callvirt and
// newobj, keeps its own count of every call, and prints the counts as the
// last line of its output (COUNTS {...}), after its process id (PID n).
using System;
using System.Runtime.CompilerServices;
using System.Threading;

namespace SyncApis
{
    internal static class Program
    {
        private static int Main(string[] args)
        {
            string scenario = args.Length > 0 ? args[0] : "all";
            switch (scenario)
            {
                case "all":
                    MonitorCalls.Run();
                    ThreadCalls.Run();
                    HandleCalls.Run();
                    LockCalls.Run();
                    EventCalls.Run();
                    AtomicCalls.Run();
                    TaskCalls.Run();
                    ErrorCalls.Run();
                    ObjectCalls.Run();
                    break;
                case "async":
                    AsyncCalls.Run();
                    return 0;
                case "hot":
                    Hot(args.Length > 1 ? int.Parse(args[1]) : 200_000);
                    break;
                default:
                    Console.Error.WriteLine("unknown scenario " + scenario);
                    return 2;
            }
            Console.WriteLine("PID " + System.Diagnostics.Process.GetCurrentProcess().Id);
            Console.WriteLine("COUNTS " + Counts.ToJson());
            return 0;
        }

        private static readonly object s_gate = new object();
        private static long s_touched;

        // Small enough to be inlined into the loop below, and called often
        // enough to be compiled again at the optimising tier.
        private static void Touch()
        {
            Monitor.Enter(s_gate);
            Counts.Add("System.Threading.Monitor.Enter");
            s_touched++;
            Monitor.Exit(s_gate);
            Counts.Add("System.Threading.Monitor.Exit");
        }

        [MethodImpl(MethodImplOptions.NoInlining)]
        private static void Hot(int iterations)
        {
            for (int round = 0; round < 4; round++)
            {
                for (int i = 0; i < iterations; i++) Touch();
                // Gives the runtime's background compiler time to install the
                // optimised code between rounds.
                Thread.Sleep(150);
                Counts.Add("System.Threading.Thread.Sleep");
            }
            Console.WriteLine("touched " + s_touched);
        }
    }
}
