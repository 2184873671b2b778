using System;
using System.Threading;

namespace WrapperCheck
{
    // Never run. It is compiled like any net10.0 program, so its metadata
    // shows which reference assembly each covered API is named through and
    // which overloads exist; ReferenceChecks reads it back.
    internal static partial class OriginalCalls
    {
        internal static void All(object o, WaitHandle handle, EventWaitHandle ev, ManualResetEvent manual, AutoResetEvent auto,
                                 SemaphoreSlim semaphore, CancellationToken token, ThreadStart start, ParameterizedThreadStart pstart)
        {
            bool taken = false;
            Monitor.Enter(o);
            Monitor.Enter(o, ref taken);
            Monitor.TryEnter(o);
            Monitor.TryEnter(o, 1);
            Monitor.TryEnter(o, TimeSpan.Zero);
            Monitor.TryEnter(o, ref taken);
            Monitor.TryEnter(o, 1, ref taken);
            Monitor.TryEnter(o, TimeSpan.Zero, ref taken);
            Monitor.Exit(o);
            Monitor.Wait(o);
            Monitor.Wait(o, 1);
            Monitor.Wait(o, TimeSpan.Zero);
            Monitor.Wait(o, 1, false);
            Monitor.Wait(o, TimeSpan.Zero, false);
            Monitor.Pulse(o);
            Monitor.PulseAll(o);
            lock (o)
            {
            }

            var thread = new Thread(start);
            thread = new Thread(start, 1 << 20);
            thread = new Thread(pstart);
            thread = new Thread(pstart, 1 << 20);
            thread.Start();
            thread.Start(o);
            thread.Join();
            thread.Join(1);
            thread.Join(TimeSpan.Zero);

            handle.WaitOne();
            handle.WaitOne(1);
            handle.WaitOne(TimeSpan.Zero);
            handle.WaitOne(1, false);
            handle.WaitOne(TimeSpan.Zero, false);
            manual.WaitOne();
            auto.WaitOne(1);

            ev.Set();
            ev.Reset();
            manual.Set();
            manual.Reset();
            auto.Set();
            auto.Reset();

            var mutex = new Mutex();
            mutex = new Mutex(true);
            mutex = new Mutex(true, "name");
            mutex = new Mutex(true, "name", out bool createdNew);
            mutex.ReleaseMutex();
            mutex.WaitOne();

            semaphore = new SemaphoreSlim(1);
            semaphore = new SemaphoreSlim(1, 2);
            semaphore.Wait();
            semaphore.Wait(1);
            semaphore.Wait(TimeSpan.Zero);
            semaphore.Wait(token);
            semaphore.Wait(1, token);
            semaphore.Wait(TimeSpan.Zero, token);
            semaphore.Release();
            semaphore.Release(1);
        }
    }
}
