using System;
using System.Threading;
using System.Threading.Tasks;

namespace SyncApis
{
    internal static class EventCalls
    {
        public static void Run()
        {
            var slim = new ManualResetEventSlim();
            var set = new ManualResetEventSlim(true);
            var spinning = new ManualResetEventSlim(false, 10);
            Counts.Add("System.Threading.ManualResetEventSlim..ctor", 3);
            slim.Set();
            slim.Wait();
            bool ok = slim.Wait(10) && slim.Wait(TimeSpan.FromMilliseconds(10));
            using (var cancel = new CancellationTokenSource())
            {
                set.Wait(cancel.Token);
                ok &= set.Wait(10, cancel.Token) && set.Wait(TimeSpan.FromMilliseconds(10), cancel.Token);
            }
            slim.Reset();
            ok &= !spinning.Wait(1);
            Counts.Add("System.Threading.ManualResetEventSlim.Set");
            Counts.Add("System.Threading.ManualResetEventSlim.Wait", 7);
            Counts.Add("System.Threading.ManualResetEventSlim.Reset");

            var semaphore = new Semaphore(0, 2);
            var named = new Semaphore(1, 1, null);
            var created = new Semaphore(1, 1, null, out bool createdNew);
            Counts.Add("System.Threading.Semaphore..ctor", 3);
            semaphore.Release();
            semaphore.Release(1);
            Counts.Add("System.Threading.Semaphore.Release", 2);
            ok &= semaphore.WaitOne(1000) && semaphore.WaitOne(1000) && named.WaitOne(1000) && created.WaitOne(1000);
            Counts.Add("System.Threading.WaitHandle.WaitOne", 4);

            var auto = new AutoResetEvent(true);
            var manual = new ManualResetEvent(false);
            Counts.Add("System.Threading.AutoResetEvent..ctor");
            Counts.Add("System.Threading.ManualResetEvent..ctor");
            ok &= auto.WaitOne(1000) && !manual.WaitOne(1);
            Counts.Add("System.Threading.WaitHandle.WaitOne", 2);

            var countdown = new CountdownEvent(2);
            Counts.Add("System.Threading.CountdownEvent..ctor");
            countdown.AddCount();
            countdown.AddCount(2);
            ok &= countdown.TryAddCount() && countdown.TryAddCount(1);
            ok &= !countdown.Signal() && countdown.Signal(6);
            countdown.Wait();
            ok &= countdown.Wait(10) && countdown.Wait(TimeSpan.FromMilliseconds(10));
            countdown.Reset();
            countdown.Reset(1);
            ok &= countdown.Signal();
            Counts.Add("System.Threading.CountdownEvent.AddCount", 2);
            Counts.Add("System.Threading.CountdownEvent.TryAddCount", 2);
            Counts.Add("System.Threading.CountdownEvent.Signal", 3);
            Counts.Add("System.Threading.CountdownEvent.Wait", 3);
            Counts.Add("System.Threading.CountdownEvent.Reset", 2);

            int phases = 0;
            var barrier = new Barrier(1);
            var counting = new Barrier(1, b => phases++);
            Counts.Add("System.Threading.Barrier..ctor", 2);
            counting.SignalAndWait();
            ok &= counting.SignalAndWait(1000) && counting.SignalAndWait(TimeSpan.FromSeconds(1));
            barrier.AddParticipant();
            barrier.AddParticipants(2);
            barrier.RemoveParticipant();
            barrier.RemoveParticipants(2);
            barrier.SignalAndWait();
            Counts.Add("System.Threading.Barrier.SignalAndWait", 4);
            Counts.Add("System.Threading.Barrier.AddParticipant");
            Counts.Add("System.Threading.Barrier.AddParticipants");
            Counts.Add("System.Threading.Barrier.RemoveParticipant");
            Counts.Add("System.Threading.Barrier.RemoveParticipants");

            var gate = new SemaphoreSlim(1);
            Counts.Add("System.Threading.SemaphoreSlim..ctor");
            gate.WaitAsync().Wait();
            gate.Release();
            ok &= gate.WaitAsync(1000).Result;
            gate.Release();
            ok &= gate.WaitAsync(TimeSpan.FromSeconds(1)).Result;
            gate.Release();
            Counts.Add("System.Threading.SemaphoreSlim.WaitAsync", 3);
            Counts.Add("System.Threading.SemaphoreSlim.Release", 3);
            Counts.Add("System.Threading.Tasks.Task.Wait");

            var fired = new ManualResetEventSlim();
            Counts.Add("System.Threading.ManualResetEventSlim..ctor");
            using (var source = new CancellationTokenSource())
            {
                source.Token.Register(() => fired.Set());
                source.CancelAfter(TimeSpan.FromMinutes(10));
                source.CancelAfter(60_000);
                source.Cancel();
                Counts.Add("System.Threading.CancellationTokenSource.CancelAfter", 2);
                Counts.Add("System.Threading.CancellationTokenSource.Cancel");
                Counts.Add("System.Threading.ManualResetEventSlim.Set");
            }
            using (var source = new CancellationTokenSource())
            {
                source.Cancel(false);
                Counts.Add("System.Threading.CancellationTokenSource.Cancel");
            }
            fired.Wait();
            Counts.Add("System.Threading.ManualResetEventSlim.Wait");

            var ticks = new CountdownEvent(2);
            Counts.Add("System.Threading.CountdownEvent..ctor");
            using (var timer = new Timer(_ => ticks.Signal(), null, 0, Timeout.Infinite))
            using (var later = new Timer(_ => ticks.Signal(), null, Timeout.Infinite, Timeout.Infinite))
            {
                later.Change(0, Timeout.Infinite);
                ticks.Wait();
            }
            Counts.Add("System.Threading.Timer..ctor", 2);
            Counts.Add("System.Threading.Timer.Change");
            Counts.Add("System.Threading.CountdownEvent.Signal", 2);
            Counts.Add("System.Threading.CountdownEvent.Wait");

            var queued = new CountdownEvent(3);
            Counts.Add("System.Threading.CountdownEvent..ctor");
            ThreadPool.QueueUserWorkItem(_ => queued.Signal());
            ThreadPool.QueueUserWorkItem(state => ((CountdownEvent)state!).Signal(), queued);
            ThreadPool.UnsafeQueueUserWorkItem(state => ((CountdownEvent)state!).Signal(), queued);
            queued.Wait();
            Counts.Add("System.Threading.ThreadPool.QueueUserWorkItem", 2);
            Counts.Add("System.Threading.ThreadPool.UnsafeQueueUserWorkItem");
            Counts.Add("System.Threading.CountdownEvent.Signal", 3);
            Counts.Add("System.Threading.CountdownEvent.Wait");

            var signal = new ManualResetEvent(true);
            var waited = new ManualResetEventSlim();
            Counts.Add("System.Threading.ManualResetEvent..ctor");
            Counts.Add("System.Threading.ManualResetEventSlim..ctor");
            RegisteredWaitHandle registration = ThreadPool.RegisterWaitForSingleObject(
                signal, (state, timedOut) => ((ManualResetEventSlim)state!).Set(), waited, 10_000, true);
            waited.Wait();
            registration.Unregister(null);
            Counts.Add("System.Threading.ThreadPool.RegisterWaitForSingleObject");
            Counts.Add("System.Threading.ManualResetEventSlim.Set");
            Counts.Add("System.Threading.ManualResetEventSlim.Wait");

            Console.WriteLine("events: all as expected " + ok + ", created " + createdNew + ", phases " + phases);
        }
    }
}
