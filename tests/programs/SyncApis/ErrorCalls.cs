using System;
using System.Threading;

namespace SyncApis
{
    // Calls that fail: each must throw what the API itself throws, and the
    // program's state (locks not held, handles disposed) must not confuse
    // whoever watches the calls.
    internal static class ErrorCalls
    {
        public static void Run()
        {
            var o = new object();
            Fails("System.Threading.Monitor.Exit", () => Monitor.Exit(o));
            Fails("System.Threading.Monitor.Enter", () => Monitor.Enter(null!));
            Fails("System.Threading.Monitor.TryEnter", () => Monitor.TryEnter(o, -2));
            Fails("System.Threading.Monitor.Wait", () => Monitor.Wait(o));
            Fails("System.Threading.Monitor.Pulse", () => Monitor.Pulse(o));

            var finished = new Thread(() => { });
            Counts.Add("Thread..ctor");
            Counts.Do(("Thread.Start", () => finished.Start()), ("Thread.Join", () => finished.Join()));
            Fails("System.Threading.Thread.Start", () => finished.Start());
            Fails("System.Threading.Thread.Join", () => Thread.CurrentThread.Join(-2));

            using (var unowned = new Mutex(false))
            {
                Counts.Add("System.Threading.Mutex..ctor");
                Fails("System.Threading.Mutex.ReleaseMutex", () => unowned.ReleaseMutex());
            }
            var disposed = new ManualResetEvent(true);
            Counts.Add("System.Threading.ManualResetEvent..ctor");
            disposed.Dispose();
            Fails("System.Threading.WaitHandle.WaitOne", () => disposed.WaitOne(0));
            Fails("System.Threading.EventWaitHandle.Set", () => disposed.Set());

            Fails("System.Threading.SemaphoreSlim..ctor", () => new SemaphoreSlim(2, 1));
            using (var full = new SemaphoreSlim(1, 1))
            using (var cancelled = new CancellationTokenSource())
            {
                Counts.Add("System.Threading.SemaphoreSlim..ctor");
                Counts.Add("CancellationTokenSource..ctor");
                Fails("System.Threading.SemaphoreSlim.Release", () => full.Release());
                Counts.Do(("CancellationTokenSource.Cancel", () => cancelled.Cancel()));
                Fails("System.Threading.SemaphoreSlim.Wait", () => full.Wait(cancelled.Token));
            }
        }

        private static void Fails(string api, Action call)
        {
            string outcome = "no exception";
            try
            {
                call();
            }
            catch (Exception e)
            {
                outcome = e.GetType().FullName!;
            }
            Counts.Add(api);
            Console.WriteLine("failing " + api + ": " + outcome);
        }
    }
}
