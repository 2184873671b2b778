using System;
using System.Threading;
using System.Threading.Tasks;

namespace SyncApis
{
    internal static class EventCalls
    {
        public static void Run()
        {
            bool ok = true, createdNew = false;
            int phases = 0;
            var ms = TimeSpan.FromMilliseconds(10);
            var slim = new ManualResetEventSlim();
            var set = new ManualResetEventSlim(true);
            var spinning = new ManualResetEventSlim(false, 10);
            var cancel = new CancellationTokenSource();
            Counts.Add("ManualResetEventSlim..ctor", 3);
            Counts.Add("CancellationTokenSource..ctor");
            Counts.Do(("ManualResetEventSlim.Set", () => slim.Set()), ("ManualResetEventSlim.Wait", () => slim.Wait()),
                      ("ManualResetEventSlim.Wait", () => ok &= slim.Wait(10)), ("ManualResetEventSlim.Wait", () => ok &= slim.Wait(ms)),
                      ("ManualResetEventSlim.Wait", () => set.Wait(cancel.Token)),
                      ("ManualResetEventSlim.Wait", () => ok &= set.Wait(10, cancel.Token)),
                      ("ManualResetEventSlim.Wait", () => ok &= set.Wait(ms, cancel.Token)),
                      ("ManualResetEventSlim.Reset", () => slim.Reset()), ("ManualResetEventSlim.Wait", () => ok &= !spinning.Wait(1)));

            var semaphore = new Semaphore(0, 2);
            var named = new Semaphore(1, 1, null);
            var created = new Semaphore(1, 1, null, out createdNew);
            var auto = new AutoResetEvent(true);
            var manual = new ManualResetEvent(false);
            Counts.Add("Semaphore..ctor", 3);
            Counts.Add("AutoResetEvent..ctor");
            Counts.Add("ManualResetEvent..ctor");
            Counts.Do(("Semaphore.Release", () => semaphore.Release()), ("Semaphore.Release", () => semaphore.Release(1)),
                      ("WaitHandle.WaitOne", () => ok &= semaphore.WaitOne(1000)), ("WaitHandle.WaitOne", () => ok &= semaphore.WaitOne(1000)),
                      ("WaitHandle.WaitOne", () => ok &= named.WaitOne(1000)), ("WaitHandle.WaitOne", () => ok &= created.WaitOne(1000)),
                      ("WaitHandle.WaitOne", () => ok &= auto.WaitOne(1000)), ("WaitHandle.WaitOne", () => ok &= !manual.WaitOne(1)));

            var countdown = new CountdownEvent(2);
            Counts.Add("CountdownEvent..ctor");
            Counts.Do(("CountdownEvent.AddCount", () => countdown.AddCount()), ("CountdownEvent.AddCount", () => countdown.AddCount(2)),
                      ("CountdownEvent.TryAddCount", () => ok &= countdown.TryAddCount()),
                      ("CountdownEvent.TryAddCount", () => ok &= countdown.TryAddCount(1)),
                      ("CountdownEvent.Signal", () => ok &= !countdown.Signal()), ("CountdownEvent.Signal", () => ok &= countdown.Signal(6)),
                      ("CountdownEvent.Wait", () => countdown.Wait()), ("CountdownEvent.Wait", () => ok &= countdown.Wait(10)),
                      ("CountdownEvent.Wait", () => ok &= countdown.Wait(ms)), ("CountdownEvent.Reset", () => countdown.Reset()),
                      ("CountdownEvent.Reset", () => countdown.Reset(1)), ("CountdownEvent.Signal", () => ok &= countdown.Signal()));

            var barrier = new Barrier(1);
            var counting = new Barrier(1, b => phases++);
            Counts.Add("Barrier..ctor", 2);
            Counts.Do(("Barrier.SignalAndWait", () => counting.SignalAndWait()),
                      ("Barrier.SignalAndWait", () => ok &= counting.SignalAndWait(1000)),
                      ("Barrier.SignalAndWait", () => ok &= counting.SignalAndWait(TimeSpan.FromSeconds(1))),
                      ("Barrier.AddParticipant", () => barrier.AddParticipant()), ("Barrier.AddParticipants", () => barrier.AddParticipants(2)),
                      ("Barrier.RemoveParticipant", () => barrier.RemoveParticipant()),
                      ("Barrier.RemoveParticipants", () => barrier.RemoveParticipants(2)), ("Barrier.SignalAndWait", () => barrier.SignalAndWait()));

            var gate = new SemaphoreSlim(1);
            Counts.Add("SemaphoreSlim..ctor");
            Counts.Add("Tasks.Task.Wait");
            Counts.Add("Tasks.Task`1.get_Result", 2);
            Counts.Do(("SemaphoreSlim.WaitAsync", () => gate.WaitAsync().Wait()),
                      ("SemaphoreSlim.Release", () => gate.Release()), ("SemaphoreSlim.WaitAsync", () => ok &= gate.WaitAsync(1000).Result),
                      ("SemaphoreSlim.Release", () => gate.Release()),
                      ("SemaphoreSlim.WaitAsync", () => ok &= gate.WaitAsync(TimeSpan.FromSeconds(1)).Result),
                      ("SemaphoreSlim.Release", () => gate.Release()));

            var fired = new ManualResetEventSlim();
            var source = new CancellationTokenSource();
            var other = new CancellationTokenSource();
            source.Token.Register(() => fired.Set());
            Counts.Add("ManualResetEventSlim..ctor");
            Counts.Add("CancellationTokenSource..ctor", 2);
            Counts.Add("ManualResetEventSlim.Set");
            Counts.Do(("CancellationTokenSource.CancelAfter", () => source.CancelAfter(TimeSpan.FromMinutes(10))),
                      ("CancellationTokenSource.CancelAfter", () => source.CancelAfter(60_000)),
                      ("CancellationTokenSource.Cancel", () => source.Cancel()),
                      ("CancellationTokenSource.Cancel", () => other.Cancel(false)), ("ManualResetEventSlim.Wait", () => fired.Wait()));

            var ticks = new CountdownEvent(2);
            var queued = new CountdownEvent(3);
            var signal = new ManualResetEvent(true);
            var waited = new ManualResetEventSlim();
            Timer timer = null!, later = null!;
            Counts.Add("CountdownEvent..ctor", 2);
            Counts.Add("ManualResetEvent..ctor");
            Counts.Add("ManualResetEventSlim..ctor");
            Counts.Do(("Timer..ctor", () => timer = new Timer(_ => ticks.Signal(), null, 0, Timeout.Infinite)),
                      ("Timer..ctor", () => later = new Timer(_ => ticks.Signal(), null, Timeout.Infinite, Timeout.Infinite)),
                      ("Timer.Change", () => later.Change(0, Timeout.Infinite)), ("CountdownEvent.Wait", () => ticks.Wait()),
                      ("ThreadPool.QueueUserWorkItem", () => ThreadPool.QueueUserWorkItem(_ => queued.Signal())),
                      ("ThreadPool.QueueUserWorkItem", () => ThreadPool.QueueUserWorkItem(state => ((CountdownEvent)state!).Signal(), queued)),
                      ("ThreadPool.UnsafeQueueUserWorkItem",
                       () => ThreadPool.UnsafeQueueUserWorkItem(state => ((CountdownEvent)state!).Signal(), queued)),
                      ("CountdownEvent.Wait", () => queued.Wait()),
                      ("ThreadPool.RegisterWaitForSingleObject", () => ThreadPool.RegisterWaitForSingleObject(
                          signal, (state, timedOut) => ((ManualResetEventSlim)state!).Set(), waited, 10_000, true)),
                      ("ManualResetEventSlim.Wait", () => waited.Wait()));
            timer.Dispose();
            later.Dispose();
            // The timers' and the queued work's.
            Counts.Add("CountdownEvent.Signal", 5);
            Counts.Add("ManualResetEventSlim.Set");

            Console.WriteLine("events: all as expected " + ok + ", created " + createdNew + ", phases " + phases);
        }
    }
}
