using System;
using System.Threading;

namespace SyncApis
{
    internal static class MonitorCalls
    {
        public static void Run()
        {
            var gate = new object();
            int locked = 0;
            for (int i = 0; i < 10; i++)
            {
                lock (gate) locked++;
                Counts.Add("Monitor.Enter");
                Counts.Add("Monitor.Exit");
            }

            Counts.Do(("Monitor.Enter", () => Monitor.Enter(gate)), ("Monitor.Exit", () => Monitor.Exit(gate)));
            // Each try that takes the lock gives it back.
            bool taken = false;
            var ms = TimeSpan.FromMilliseconds(10);
            foreach (Action attempt in new Action[] { () => taken = Monitor.TryEnter(gate), () => taken = Monitor.TryEnter(gate, 10),
                                                      () => taken = Monitor.TryEnter(gate, ms), () => Monitor.TryEnter(gate, ref taken),
                                                      () => Monitor.TryEnter(gate, 10, ref taken), () => Monitor.TryEnter(gate, ms, ref taken) })
            {
                taken = false;
                Counts.Do(("Monitor.TryEnter", attempt));
                if (taken) Exit(gate);
            }

            // Wait and pulse between two threads: the waiter signals readiness
            // under the lock, so the pulses cannot be lost.
            bool ready = false;
            bool done = false;
            var waiter = new Thread(() =>
            {
                lock (gate)
                {
                    ready = true;
                    Counts.Do(("Monitor.PulseAll", () => Monitor.PulseAll(gate)));
                    while (!done) Counts.Do(("Monitor.Wait", () => Monitor.Wait(gate)));
                }
            });
            Counts.Do(("Thread.Start", () => waiter.Start()));
            lock (gate)
            {
                // Inline, not in a row: the loop may never run, and a call
                // that is never compiled is never rewritten.
                while (!ready)
                {
                    Monitor.Wait(gate, 1000);
                    Counts.Add("Monitor.Wait");
                }
                done = true;
                Counts.Do(("Monitor.Pulse", () => Monitor.Pulse(gate)));
            }
            Counts.Do(("Thread.Join", () => waiter.Join()));
            lock (gate)
            {
                Counts.Do(("Monitor.Wait", () => Monitor.Wait(gate, TimeSpan.FromMilliseconds(1))), ("Monitor.Wait", () => Monitor.Wait(gate, 1, false)));
            }
            // The two lock statements above and the waiter's.
            Counts.Add("Monitor.Enter", 3);
            Counts.Add("Monitor.Exit", 3);
            Counts.Add("Thread..ctor");
            Console.WriteLine("monitor: locked " + locked + " times");
        }

        private static void Exit(object gate)
        {
            Monitor.Exit(gate);
            Counts.Add("System.Threading.Monitor.Exit");
        }
    }
}
