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
                Counts.Add("System.Threading.Monitor.Enter");
                Counts.Add("System.Threading.Monitor.Exit");
            }

            Monitor.Enter(gate);
            Counts.Add("System.Threading.Monitor.Enter");
            Monitor.Exit(gate);
            Counts.Add("System.Threading.Monitor.Exit");

            bool taken = Monitor.TryEnter(gate);
            Counts.Add("System.Threading.Monitor.TryEnter");
            if (taken) Exit(gate);
            taken = Monitor.TryEnter(gate, 10);
            Counts.Add("System.Threading.Monitor.TryEnter");
            if (taken) Exit(gate);
            taken = Monitor.TryEnter(gate, TimeSpan.FromMilliseconds(10));
            Counts.Add("System.Threading.Monitor.TryEnter");
            if (taken) Exit(gate);
            taken = false;
            Monitor.TryEnter(gate, ref taken);
            Counts.Add("System.Threading.Monitor.TryEnter");
            if (taken) Exit(gate);
            taken = false;
            Monitor.TryEnter(gate, 10, ref taken);
            Counts.Add("System.Threading.Monitor.TryEnter");
            if (taken) Exit(gate);
            taken = false;
            Monitor.TryEnter(gate, TimeSpan.FromMilliseconds(10), ref taken);
            Counts.Add("System.Threading.Monitor.TryEnter");
            if (taken) Exit(gate);

            // Wait and pulse between two threads: the waiter signals readiness
            // under the lock, so the pulses cannot be lost.
            bool ready = false;
            bool done = false;
            var waiter = new Thread(() =>
            {
                lock (gate)
                {
                    Counts.Add("System.Threading.Monitor.Enter");
                    ready = true;
                    Monitor.PulseAll(gate);
                    Counts.Add("System.Threading.Monitor.PulseAll");
                    while (!done)
                    {
                        Monitor.Wait(gate);
                        Counts.Add("System.Threading.Monitor.Wait");
                    }
                }
                Counts.Add("System.Threading.Monitor.Exit");
            });
            Counts.Add("System.Threading.Thread..ctor");
            waiter.Start();
            Counts.Add("System.Threading.Thread.Start");
            lock (gate)
            {
                Counts.Add("System.Threading.Monitor.Enter");
                while (!ready)
                {
                    Monitor.Wait(gate, 1000);
                    Counts.Add("System.Threading.Monitor.Wait");
                }
                done = true;
                Monitor.Pulse(gate);
                Counts.Add("System.Threading.Monitor.Pulse");
            }
            Counts.Add("System.Threading.Monitor.Exit");
            waiter.Join();
            Counts.Add("System.Threading.Thread.Join");

            lock (gate)
            {
                Counts.Add("System.Threading.Monitor.Enter");
                Monitor.Wait(gate, TimeSpan.FromMilliseconds(1));
                Counts.Add("System.Threading.Monitor.Wait");
                Monitor.Wait(gate, 1, false);
                Counts.Add("System.Threading.Monitor.Wait");
            }
            Counts.Add("System.Threading.Monitor.Exit");
            Console.WriteLine("monitor: locked " + locked + " times");
        }

        private static void Exit(object gate)
        {
            Monitor.Exit(gate);
            Counts.Add("System.Threading.Monitor.Exit");
        }
    }
}
