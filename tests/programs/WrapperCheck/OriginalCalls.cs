using System;
using System.Threading;

namespace WrapperCheck
{
    // Never run. It is compiled like any net10.0 program, so its metadata
    // shows which reference assembly each covered API is named through and
    // which overloads exist; ReferenceChecks reads it back. One line per member.
    internal static partial class OriginalCalls
    {
        internal static void All(object o, WaitHandle handle, EventWaitHandle ev, ManualResetEvent manual, AutoResetEvent auto,
                                 SemaphoreSlim semaphore, CancellationToken token, ThreadStart start, ParameterizedThreadStart pstart)
        {
            bool taken = false;
            TimeSpan t = TimeSpan.Zero;
            Monitor.Enter(o); Monitor.Enter(o, ref taken);
            Monitor.TryEnter(o); Monitor.TryEnter(o, 1); Monitor.TryEnter(o, t); Monitor.TryEnter(o, ref taken); Monitor.TryEnter(o, 1, ref taken); Monitor.TryEnter(o, t, ref taken);
            Monitor.Exit(o); Monitor.Pulse(o); Monitor.PulseAll(o);
            Monitor.Wait(o); Monitor.Wait(o, 1); Monitor.Wait(o, t); Monitor.Wait(o, 1, false); Monitor.Wait(o, t, false);
            lock (o)
            {
            }

            var thread = new Thread(start); thread = new Thread(start, 1 << 20); thread = new Thread(pstart); thread = new Thread(pstart, 1 << 20);
            thread.Start(); thread.Start(o);
            thread.Join(); thread.Join(1); thread.Join(t);

            handle.WaitOne(); handle.WaitOne(1); handle.WaitOne(t); handle.WaitOne(1, false); handle.WaitOne(t, false); manual.WaitOne(); auto.WaitOne(1);
            ev.Set(); ev.Reset(); manual.Set(); manual.Reset(); auto.Set(); auto.Reset();

            var mutex = new Mutex(); mutex = new Mutex(true); mutex = new Mutex(true, "name"); mutex = new Mutex(true, "name", out bool createdNew);
            mutex.ReleaseMutex(); mutex.WaitOne();

            semaphore = new SemaphoreSlim(1); semaphore = new SemaphoreSlim(1, 2);
            semaphore.Wait(); semaphore.Wait(1); semaphore.Wait(t); semaphore.Wait(token); semaphore.Wait(1, token); semaphore.Wait(t, token);
            semaphore.Release(); semaphore.Release(1);
        }
    }
}
