using System;
using System.Collections.Generic;
using System.Threading;
using System.Threading.Tasks;

namespace WrapperCheck
{
    // Every overload of the wider families, named the way a net10.0 program
    // names them, one line per member. Never run.
    internal static partial class OriginalCalls
    {
        internal static void Modern(Thread thread, SemaphoreSlim semaphore, CancellationToken token, CancellationTokenSource source,
                                    Task task, Task[] tasks, WaitCallback work, WaitOrTimerCallback onWait, TimerCallback onTimer,
                                    IThreadPoolWorkItem item, WaitHandle handle, object o)
        {
            TimeSpan t = TimeSpan.Zero;
            Thread.Sleep(1); Thread.Sleep(t); thread.Interrupt(); thread.UnsafeStart(); thread.UnsafeStart(o); Thread.Yield();
            semaphore.WaitAsync(); semaphore.WaitAsync(1); semaphore.WaitAsync(t); semaphore.WaitAsync(token); semaphore.WaitAsync(1, token); semaphore.WaitAsync(t, token);

            var slim = new ReaderWriterLockSlim(); slim = new ReaderWriterLockSlim(LockRecursionPolicy.NoRecursion);
            slim.EnterReadLock(); slim.TryEnterReadLock(1); slim.TryEnterReadLock(t); slim.ExitReadLock();
            slim.EnterWriteLock(); slim.TryEnterWriteLock(1); slim.TryEnterWriteLock(t); slim.ExitWriteLock();
            slim.EnterUpgradeableReadLock(); slim.TryEnterUpgradeableReadLock(1); slim.TryEnterUpgradeableReadLock(t); slim.ExitUpgradeableReadLock();

            var rw = new ReaderWriterLock();
            rw.AcquireReaderLock(1); rw.AcquireReaderLock(t); rw.ReleaseReaderLock(); rw.AcquireWriterLock(1); rw.AcquireWriterLock(t); rw.ReleaseWriterLock();
            LockCookie cookie = rw.UpgradeToWriterLock(1); cookie = rw.UpgradeToWriterLock(t); rw.DowngradeFromWriterLock(ref cookie);
            cookie = rw.ReleaseLock(); rw.RestoreLock(ref cookie);

            var slimEvent = new ManualResetEventSlim(); slimEvent = new ManualResetEventSlim(true); slimEvent = new ManualResetEventSlim(true, 1);
            slimEvent.Set(); slimEvent.Reset();
            slimEvent.Wait(); slimEvent.Wait(1); slimEvent.Wait(t); slimEvent.Wait(token); slimEvent.Wait(1, token); slimEvent.Wait(t, token);

            var counted = new Semaphore(1, 1); counted = new Semaphore(1, 1, "name"); counted = new Semaphore(1, 1, "name", out bool createdNew);
            counted.Release(); counted.Release(1);
            var auto = new AutoResetEvent(createdNew); var manual = new ManualResetEvent(createdNew);

            var countdown = new CountdownEvent(1);
            countdown.Signal(); countdown.Signal(1); countdown.AddCount(); countdown.AddCount(1); countdown.TryAddCount(); countdown.TryAddCount(1);
            countdown.Reset(); countdown.Reset(1);
            countdown.Wait(); countdown.Wait(1); countdown.Wait(t); countdown.Wait(token); countdown.Wait(1, token); countdown.Wait(t, token);

            var barrier = new Barrier(1); barrier = new Barrier(1, b => { });
            barrier.SignalAndWait(); barrier.SignalAndWait(1); barrier.SignalAndWait(t); barrier.SignalAndWait(token); barrier.SignalAndWait(1, token); barrier.SignalAndWait(t, token);
            barrier.AddParticipant(); barrier.AddParticipants(1); barrier.RemoveParticipant(); barrier.RemoveParticipants(1);

            Atomics();

            ThreadPool.QueueUserWorkItem(work); ThreadPool.QueueUserWorkItem(work, o);
            ThreadPool.UnsafeQueueUserWorkItem(work, o); ThreadPool.UnsafeQueueUserWorkItem(item, false);
            ThreadPool.RegisterWaitForSingleObject(handle, onWait, o, 1, true); ThreadPool.RegisterWaitForSingleObject(handle, onWait, o, 1L, true);
            ThreadPool.RegisterWaitForSingleObject(handle, onWait, o, 1u, true); ThreadPool.RegisterWaitForSingleObject(handle, onWait, o, t, true);

            var timer = new Timer(onTimer); timer = new Timer(onTimer, o, 1, 1); timer = new Timer(onTimer, o, 1L, 1L);
            timer = new Timer(onTimer, o, 1u, 1u); timer = new Timer(onTimer, o, t, t);
            timer.Change(1, 1); timer.Change(1L, 1L); timer.Change(1u, 1u); timer.Change(t, t);
            source.Cancel(); source.Cancel(true); source.CancelAfter(1); source.CancelAfter(t);
            source = new CancellationTokenSource(); source = new CancellationTokenSource(1); source = new CancellationTokenSource(t);
            source = new CancellationTokenSource(t, TimeProvider.System); source = CancellationTokenSource.CreateLinkedTokenSource(token);
            source = CancellationTokenSource.CreateLinkedTokenSource(token, token); source = CancellationTokenSource.CreateLinkedTokenSource(new[] { token });
            var handles = new[] { handle };
            WaitHandle.WaitAny(handles); WaitHandle.WaitAny(handles, 1); WaitHandle.WaitAny(handles, t); WaitHandle.WaitAny(handles, 1, false); WaitHandle.WaitAny(handles, t, false);
            WaitHandle.WaitAll(handles); WaitHandle.WaitAll(handles, 1); WaitHandle.WaitAll(handles, t); WaitHandle.WaitAll(handles, 1, false); WaitHandle.WaitAll(handles, t, false);

            Tasks(task, tasks, token, o);
        }

        private static void Atomics()
        {
            int i = 0; long l = 0; uint u = 0; ulong ul = 0; float f = 0; double d = 0; nint n = 0; nuint nu = 0; object? o = null;
            bool b = false; byte by = 0; sbyte sb = 0; short s = 0; ushort us = 0;
            Interlocked.Increment(ref i); Interlocked.Increment(ref l); Interlocked.Increment(ref u); Interlocked.Increment(ref ul);
            Interlocked.Decrement(ref i); Interlocked.Decrement(ref l); Interlocked.Decrement(ref u); Interlocked.Decrement(ref ul);
            Interlocked.Add(ref i, 1); Interlocked.Add(ref l, 1L); Interlocked.Add(ref u, 1u); Interlocked.Add(ref ul, 1ul);
            Interlocked.Exchange(ref i, 1); Interlocked.Exchange(ref l, 1L); Interlocked.Exchange(ref u, 1u); Interlocked.Exchange(ref ul, 1ul);
            Interlocked.Exchange(ref f, 1f); Interlocked.Exchange(ref d, 1d); Interlocked.Exchange(ref n, n); Interlocked.Exchange(ref nu, nu);
            Interlocked.Exchange(ref o, o);
            Interlocked.CompareExchange(ref i, 1, 0); Interlocked.CompareExchange(ref l, 1L, 0L); Interlocked.CompareExchange(ref u, 1u, 0u);
            Interlocked.CompareExchange(ref ul, 1ul, 0ul); Interlocked.CompareExchange(ref f, 1f, 0f); Interlocked.CompareExchange(ref d, 1d, 0d);
            Interlocked.CompareExchange(ref n, n, n); Interlocked.CompareExchange(ref nu, nu, nu); Interlocked.CompareExchange(ref o, o, o);
            Interlocked.Read(ref l); Interlocked.Read(ref ul); Interlocked.MemoryBarrier();
            Interlocked.And(ref i, 1); Interlocked.And(ref l, 1L); Interlocked.And(ref u, 1u); Interlocked.And(ref ul, 1ul);
            Interlocked.Or(ref i, 1); Interlocked.Or(ref l, 1L); Interlocked.Or(ref u, 1u); Interlocked.Or(ref ul, 1ul);
            Volatile.Write(ref b, Volatile.Read(ref b)); Volatile.Write(ref by, Volatile.Read(ref by)); Volatile.Write(ref sb, Volatile.Read(ref sb));
            Volatile.Write(ref s, Volatile.Read(ref s)); Volatile.Write(ref us, Volatile.Read(ref us)); Volatile.Write(ref i, Volatile.Read(ref i));
            Volatile.Write(ref u, Volatile.Read(ref u)); Volatile.Write(ref l, Volatile.Read(ref l)); Volatile.Write(ref ul, Volatile.Read(ref ul));
            Volatile.Write(ref f, Volatile.Read(ref f)); Volatile.Write(ref d, Volatile.Read(ref d)); Volatile.Write(ref n, Volatile.Read(ref n));
            Volatile.Write(ref nu, Volatile.Read(ref nu)); Volatile.ReadBarrier(); Volatile.WriteBarrier();
        }

        private static void Tasks(Task task, Task[] tasks, CancellationToken token, object o)
        {
            TimeSpan t = TimeSpan.Zero;
            Action action = () => { };
            Func<Task?> function = () => task;
            Action<Task> next = _ => { };
            Action<object?> withState = _ => { };
            Task.Run(action); Task.Run(action, token); Task.Run(function); Task.Run(function, token);
            task.Start(); task.Start(TaskScheduler.Default);
            task.Wait(); task.Wait(1); task.Wait(t); task.Wait(token); task.Wait(1, token);
            Task.WaitAll(tasks); Task.WaitAll(tasks, 1); Task.WaitAll(tasks, t); Task.WaitAll(tasks, token); Task.WaitAll(tasks, 1, token); Task.WaitAll(task, task);
            Task.WaitAny(tasks); Task.WaitAny(tasks, 1); Task.WaitAny(tasks, t); Task.WaitAny(tasks, token); Task.WaitAny(tasks, 1, token);
            task.ContinueWith(next); task.ContinueWith(next, token); task.ContinueWith(next, TaskScheduler.Default); task.ContinueWith(next, TaskContinuationOptions.None);
            task.ContinueWith(next, token, TaskContinuationOptions.None, TaskScheduler.Default); task.ContinueWith((_, state) => { }, o);
            task.ContinueWith((_, state) => { }, o, token, TaskContinuationOptions.None, TaskScheduler.Default);
            Task.Factory.StartNew(withState, o, token, TaskCreationOptions.None, TaskScheduler.Default);
            Task.WhenAll(tasks); Task.WhenAll(new List<Task>()); Task.WhenAll(task, task);
            Task.WhenAny(tasks); Task.WhenAny(new List<Task>()); Task.WhenAny(task, task); Task.WhenAny(task, task, task);
            Task.Factory.StartNew(action); Task.Factory.StartNew(action, token); Task.Factory.StartNew(action, TaskCreationOptions.None);
            Task.Factory.StartNew(action, token, TaskCreationOptions.None, TaskScheduler.Default); Task.Factory.StartNew(withState, o);
            Task.Factory.StartNew(withState, o, token); Task.Factory.StartNew(withState, o, TaskCreationOptions.None);
            Parallel.For(0, 1, i => { }); Parallel.For(0L, 1L, i => { }); Parallel.For(0, 1, new ParallelOptions(), i => { }); Parallel.For(0, 1, (i, state) => { });
            Parallel.Invoke(action); Parallel.Invoke(new ParallelOptions(), action);
        }
    }
}
