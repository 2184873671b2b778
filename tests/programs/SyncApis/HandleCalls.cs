using System;
using System.Threading;

namespace SyncApis
{
    internal static class HandleCalls
    {
        public static void Run()
        {
            var manual = new ManualResetEvent(false);
            var auto = new AutoResetEvent(false);
            Counts.Add("System.Threading.ManualResetEvent..ctor");
            Counts.Add("System.Threading.AutoResetEvent..ctor");
            manual.Set();
            Counts.Add("System.Threading.EventWaitHandle.Set");
            bool signalled = manual.WaitOne();
            signalled &= manual.WaitOne(10);
            signalled &= manual.WaitOne(TimeSpan.FromMilliseconds(10));
            signalled &= manual.WaitOne(10, false);
            signalled &= manual.WaitOne(TimeSpan.FromMilliseconds(10), false);
            Counts.Add("System.Threading.WaitHandle.WaitOne", 5);
            manual.Reset();
            Counts.Add("System.Threading.EventWaitHandle.Reset");
            bool timedOut = !manual.WaitOne(1);
            Counts.Add("System.Threading.WaitHandle.WaitOne");
            auto.Set();
            Counts.Add("System.Threading.EventWaitHandle.Set");
            signalled &= auto.WaitOne(1000);
            Counts.Add("System.Threading.WaitHandle.WaitOne");

            var mutexes = new[]
            {
                new Mutex(), new Mutex(false), new Mutex(false, null), new Mutex(false, null, out bool createdNew),
            };
            Counts.Add("System.Threading.Mutex..ctor", mutexes.Length);
            foreach (var m in mutexes)
            {
                m.WaitOne();
                Counts.Add("System.Threading.WaitHandle.WaitOne");
                m.ReleaseMutex();
                Counts.Add("System.Threading.Mutex.ReleaseMutex");
            }

            var one = new SemaphoreSlim(1);
            var two = new SemaphoreSlim(0, 2);
            Counts.Add("System.Threading.SemaphoreSlim..ctor", 2);
            one.Wait();
            Counts.Add("System.Threading.SemaphoreSlim.Wait");
            one.Release();
            Counts.Add("System.Threading.SemaphoreSlim.Release");
            two.Release(2);
            Counts.Add("System.Threading.SemaphoreSlim.Release");
            bool got = two.Wait(10);
            got &= two.Wait(TimeSpan.FromMilliseconds(10));
            Counts.Add("System.Threading.SemaphoreSlim.Wait", 2);
            using (var cancel = new CancellationTokenSource())
            {
                one.Wait(cancel.Token);
                one.Release();
                got &= one.Wait(10, cancel.Token);
                one.Release();
                got &= one.Wait(TimeSpan.FromMilliseconds(10), cancel.Token);
                one.Release();
                Counts.Add("System.Threading.SemaphoreSlim.Wait", 3);
                Counts.Add("System.Threading.SemaphoreSlim.Release", 3);
            }
            Console.WriteLine("handles: signalled " + signalled + ", timed out " + timedOut + ", created " + createdNew +
                              ", semaphores " + got);
        }
    }
}
