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
            Counts.Add("ManualResetEvent..ctor");
            Counts.Add("AutoResetEvent..ctor");
            bool signalled = true, timedOut = false, got = true;
            var ms = TimeSpan.FromMilliseconds(10);
            Counts.Do(("EventWaitHandle.Set", () => manual.Set()), ("WaitHandle.WaitOne", () => signalled &= manual.WaitOne()),
                      ("WaitHandle.WaitOne", () => signalled &= manual.WaitOne(10)), ("WaitHandle.WaitOne", () => signalled &= manual.WaitOne(ms)),
                      ("WaitHandle.WaitOne", () => signalled &= manual.WaitOne(10, false)),
                      ("WaitHandle.WaitOne", () => signalled &= manual.WaitOne(ms, false)),
                      ("EventWaitHandle.Reset", () => manual.Reset()), ("WaitHandle.WaitOne", () => timedOut = !manual.WaitOne(1)),
                      ("EventWaitHandle.Set", () => auto.Set()), ("WaitHandle.WaitOne", () => signalled &= auto.WaitOne(1000)));

            var mutexes = new[]
            {
                new Mutex(), new Mutex(false), new Mutex(false, null), new Mutex(false, null, out bool createdNew),
            };
            Counts.Add("Mutex..ctor", mutexes.Length);
            foreach (var m in mutexes) Counts.Do(("WaitHandle.WaitOne", () => m.WaitOne()), ("Mutex.ReleaseMutex", () => m.ReleaseMutex()));

            var one = new SemaphoreSlim(1);
            var two = new SemaphoreSlim(0, 2);
            var cancel = new CancellationTokenSource();
            Counts.Add("SemaphoreSlim..ctor", 2);
            Counts.Add("CancellationTokenSource..ctor");
            Counts.Do(("SemaphoreSlim.Wait", () => one.Wait()), ("SemaphoreSlim.Release", () => one.Release()),
                      ("SemaphoreSlim.Release", () => two.Release(2)), ("SemaphoreSlim.Wait", () => got &= two.Wait(10)),
                      ("SemaphoreSlim.Wait", () => got &= two.Wait(ms)), ("SemaphoreSlim.Wait", () => one.Wait(cancel.Token)),
                      ("SemaphoreSlim.Release", () => one.Release()), ("SemaphoreSlim.Wait", () => got &= one.Wait(10, cancel.Token)),
                      ("SemaphoreSlim.Release", () => one.Release()), ("SemaphoreSlim.Wait", () => got &= one.Wait(ms, cancel.Token)),
                      ("SemaphoreSlim.Release", () => one.Release()));
            Console.WriteLine("handles: signalled " + signalled + ", timed out " + timedOut + ", created " + createdNew +
                              ", semaphores " + got);
        }
    }
}
