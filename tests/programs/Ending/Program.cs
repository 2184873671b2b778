// Ends in the way its first argument names, after taking locks on several
// threads and printing how often it did, so that a report written as the
// process ends can be checked against the program's own counts.
//
//   Ending MODE    MODE: return | exit | throw | throw-on-thread | failfast | wait | cancel-sigterm
//
// "wait" prints "ready" and sleeps until a signal ends it; "cancel-sigterm"
// cancels the first SIGTERM, prints "cancelled" and returns 5.
using System;
using System.Runtime.InteropServices;
using System.Threading;

namespace Ending
{
    internal static class Program
    {
        private const int Threads = 4;
        private const int LocksPerThread = 2500;

        private static int Main(string[] args)
        {
            int entered = TakeLocks();
            Console.WriteLine("monitor-enter " + entered);
            switch (args.Length > 0 ? args[0] : "return")
            {
                case "return":
                    return 3;
                case "exit":
                    Environment.Exit(4);
                    return 0;
                case "throw":
                    throw new InvalidOperationException("ended by an unhandled exception");
                case "throw-on-thread":
                    var thrower = new Thread(() => throw new TimeoutException("ended on a worker thread"));
                    thrower.Start();
                    thrower.Join();
                    return 0;
                case "failfast":
                    Environment.FailFast("ended by FailFast");
                    return 0;
                case "wait":
                    Console.WriteLine("ready");
                    Thread.Sleep(Timeout.Infinite);
                    return 0;
                case "cancel-sigterm":
                    using (var cancelled = new ManualResetEventSlim())
                    using (PosixSignalRegistration.Create(PosixSignal.SIGTERM, context =>
                           {
                               context.Cancel = true;
                               cancelled.Set();
                           }))
                    {
                        Console.WriteLine("ready");
                        cancelled.Wait();
                    }
                    Console.WriteLine("cancelled");
                    return 5;
                default:
                    Console.Error.WriteLine("unknown mode");
                    return 2;
            }
        }

        private static int TakeLocks()
        {
            var locks = new object[8];
            for (int i = 0; i < locks.Length; i++) locks[i] = new object();
            int total = 0;
            var workers = new Thread[Threads];
            for (int t = 0; t < Threads; t++)
            {
                int seed = t;
                workers[t] = new Thread(() =>
                {
                    for (int i = 0; i < LocksPerThread; i++)
                    {
                        object gate = locks[(seed + i) % locks.Length];
                        Monitor.Enter(gate);
                        Monitor.Exit(gate);
                    }
                    Interlocked.Add(ref total, LocksPerThread);
                });
                workers[t].Start();
            }
            foreach (var worker in workers) worker.Join();
            return total;
        }
    }
}
