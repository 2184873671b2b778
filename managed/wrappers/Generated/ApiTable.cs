// Written by generate.py from its table; edit the table and rerun it.

namespace Veskmrte.Wrappers
{
    // Ids passed to Report; each indexes Names.
    internal static class ApiTable
    {
        internal const int MonitorEnter = 0;
        internal const int MonitorTryEnter = 1;
        internal const int MonitorExit = 2;
        internal const int MonitorWait = 3;
        internal const int MonitorPulse = 4;
        internal const int MonitorPulseAll = 5;
        internal const int ThreadCtor = 6;
        internal const int ThreadStart = 7;
        internal const int ThreadJoin = 8;
        internal const int ThreadSleep = 9;
        internal const int ThreadInterrupt = 10;
        internal const int ThreadUnsafeStart = 11;
        internal const int ThreadYield = 12;
        internal const int WaitHandleWaitOne = 13;
        internal const int EventWaitHandleSet = 14;
        internal const int EventWaitHandleReset = 15;
        internal const int MutexCtor = 16;
        internal const int MutexReleaseMutex = 17;
        internal const int SemaphoreSlimCtor = 18;
        internal const int SemaphoreSlimWait = 19;
        internal const int SemaphoreSlimRelease = 20;
        internal const int SemaphoreSlimWaitAsync = 21;
        internal const int LockCtor = 22;
        internal const int LockEnter = 23;
        internal const int LockTryEnter = 24;
        internal const int LockExit = 25;
        internal const int LockEnterScope = 26;
        internal const int LockScopeDispose = 27;
        internal const int ReaderWriterLockSlimCtor = 28;
        internal const int ReaderWriterLockSlimEnterReadLock = 29;
        internal const int ReaderWriterLockSlimTryEnterReadLock = 30;
        internal const int ReaderWriterLockSlimExitReadLock = 31;
        internal const int ReaderWriterLockSlimEnterWriteLock = 32;
        internal const int ReaderWriterLockSlimTryEnterWriteLock = 33;
        internal const int ReaderWriterLockSlimExitWriteLock = 34;
        internal const int ReaderWriterLockSlimEnterUpgradeableReadLock = 35;
        internal const int ReaderWriterLockSlimTryEnterUpgradeableReadLock = 36;
        internal const int ReaderWriterLockSlimExitUpgradeableReadLock = 37;
        internal const int ReaderWriterLockCtor = 38;
        internal const int ReaderWriterLockAcquireReaderLock = 39;
        internal const int ReaderWriterLockReleaseReaderLock = 40;
        internal const int ReaderWriterLockAcquireWriterLock = 41;
        internal const int ReaderWriterLockReleaseWriterLock = 42;
        internal const int ReaderWriterLockUpgradeToWriterLock = 43;
        internal const int ReaderWriterLockDowngradeFromWriterLock = 44;
        internal const int ReaderWriterLockReleaseLock = 45;
        internal const int ReaderWriterLockRestoreLock = 46;
        internal const int ManualResetEventSlimCtor = 47;
        internal const int ManualResetEventSlimSet = 48;
        internal const int ManualResetEventSlimReset = 49;
        internal const int ManualResetEventSlimWait = 50;
        internal const int SemaphoreCtor = 51;
        internal const int SemaphoreRelease = 52;
        internal const int AutoResetEventCtor = 53;
        internal const int ManualResetEventCtor = 54;
        internal const int CountdownEventCtor = 55;
        internal const int CountdownEventSignal = 56;
        internal const int CountdownEventAddCount = 57;
        internal const int CountdownEventTryAddCount = 58;
        internal const int CountdownEventReset = 59;
        internal const int CountdownEventWait = 60;
        internal const int BarrierCtor = 61;
        internal const int BarrierSignalAndWait = 62;
        internal const int BarrierAddParticipant = 63;
        internal const int BarrierAddParticipants = 64;
        internal const int BarrierRemoveParticipant = 65;
        internal const int BarrierRemoveParticipants = 66;
        internal const int InterlockedIncrement = 67;
        internal const int InterlockedDecrement = 68;
        internal const int InterlockedAdd = 69;
        internal const int InterlockedExchange = 70;
        internal const int InterlockedCompareExchange = 71;
        internal const int InterlockedRead = 72;
        internal const int InterlockedAnd = 73;
        internal const int InterlockedOr = 74;
        internal const int InterlockedMemoryBarrier = 75;
        internal const int VolatileRead = 76;
        internal const int VolatileWrite = 77;
        internal const int ThreadPoolQueueUserWorkItem = 78;
        internal const int ThreadPoolUnsafeQueueUserWorkItem = 79;
        internal const int ThreadPoolRegisterWaitForSingleObject = 80;
        internal const int TimerCtor = 81;
        internal const int TimerChange = 82;
        internal const int CancellationTokenSourceCancel = 83;
        internal const int CancellationTokenSourceCancelAfter = 84;
        internal const int TaskRun = 85;
        internal const int TaskStart = 86;
        internal const int TaskWait = 87;
        internal const int TaskWaitAll = 88;
        internal const int TaskWaitAny = 89;
        internal const int TaskContinueWith = 90;
        internal const int TaskWhenAll = 91;
        internal const int TaskWhenAny = 92;
        internal const int TaskFactoryStartNew = 93;
        internal const int ParallelFor = 94;
        internal const int ParallelInvoke = 95;

        internal const int Count = 96;

        internal static readonly string[] Names =
        {
            "System.Threading.Monitor.Enter",
            "System.Threading.Monitor.TryEnter",
            "System.Threading.Monitor.Exit",
            "System.Threading.Monitor.Wait",
            "System.Threading.Monitor.Pulse",
            "System.Threading.Monitor.PulseAll",
            "System.Threading.Thread..ctor",
            "System.Threading.Thread.Start",
            "System.Threading.Thread.Join",
            "System.Threading.Thread.Sleep",
            "System.Threading.Thread.Interrupt",
            "System.Threading.Thread.UnsafeStart",
            "System.Threading.Thread.Yield",
            "System.Threading.WaitHandle.WaitOne",
            "System.Threading.EventWaitHandle.Set",
            "System.Threading.EventWaitHandle.Reset",
            "System.Threading.Mutex..ctor",
            "System.Threading.Mutex.ReleaseMutex",
            "System.Threading.SemaphoreSlim..ctor",
            "System.Threading.SemaphoreSlim.Wait",
            "System.Threading.SemaphoreSlim.Release",
            "System.Threading.SemaphoreSlim.WaitAsync",
            "System.Threading.Lock..ctor",
            "System.Threading.Lock.Enter",
            "System.Threading.Lock.TryEnter",
            "System.Threading.Lock.Exit",
            "System.Threading.Lock.EnterScope",
            "System.Threading.Lock+Scope.Dispose",
            "System.Threading.ReaderWriterLockSlim..ctor",
            "System.Threading.ReaderWriterLockSlim.EnterReadLock",
            "System.Threading.ReaderWriterLockSlim.TryEnterReadLock",
            "System.Threading.ReaderWriterLockSlim.ExitReadLock",
            "System.Threading.ReaderWriterLockSlim.EnterWriteLock",
            "System.Threading.ReaderWriterLockSlim.TryEnterWriteLock",
            "System.Threading.ReaderWriterLockSlim.ExitWriteLock",
            "System.Threading.ReaderWriterLockSlim.EnterUpgradeableReadLock",
            "System.Threading.ReaderWriterLockSlim.TryEnterUpgradeableReadLock",
            "System.Threading.ReaderWriterLockSlim.ExitUpgradeableReadLock",
            "System.Threading.ReaderWriterLock..ctor",
            "System.Threading.ReaderWriterLock.AcquireReaderLock",
            "System.Threading.ReaderWriterLock.ReleaseReaderLock",
            "System.Threading.ReaderWriterLock.AcquireWriterLock",
            "System.Threading.ReaderWriterLock.ReleaseWriterLock",
            "System.Threading.ReaderWriterLock.UpgradeToWriterLock",
            "System.Threading.ReaderWriterLock.DowngradeFromWriterLock",
            "System.Threading.ReaderWriterLock.ReleaseLock",
            "System.Threading.ReaderWriterLock.RestoreLock",
            "System.Threading.ManualResetEventSlim..ctor",
            "System.Threading.ManualResetEventSlim.Set",
            "System.Threading.ManualResetEventSlim.Reset",
            "System.Threading.ManualResetEventSlim.Wait",
            "System.Threading.Semaphore..ctor",
            "System.Threading.Semaphore.Release",
            "System.Threading.AutoResetEvent..ctor",
            "System.Threading.ManualResetEvent..ctor",
            "System.Threading.CountdownEvent..ctor",
            "System.Threading.CountdownEvent.Signal",
            "System.Threading.CountdownEvent.AddCount",
            "System.Threading.CountdownEvent.TryAddCount",
            "System.Threading.CountdownEvent.Reset",
            "System.Threading.CountdownEvent.Wait",
            "System.Threading.Barrier..ctor",
            "System.Threading.Barrier.SignalAndWait",
            "System.Threading.Barrier.AddParticipant",
            "System.Threading.Barrier.AddParticipants",
            "System.Threading.Barrier.RemoveParticipant",
            "System.Threading.Barrier.RemoveParticipants",
            "System.Threading.Interlocked.Increment",
            "System.Threading.Interlocked.Decrement",
            "System.Threading.Interlocked.Add",
            "System.Threading.Interlocked.Exchange",
            "System.Threading.Interlocked.CompareExchange",
            "System.Threading.Interlocked.Read",
            "System.Threading.Interlocked.And",
            "System.Threading.Interlocked.Or",
            "System.Threading.Interlocked.MemoryBarrier",
            "System.Threading.Volatile.Read",
            "System.Threading.Volatile.Write",
            "System.Threading.ThreadPool.QueueUserWorkItem",
            "System.Threading.ThreadPool.UnsafeQueueUserWorkItem",
            "System.Threading.ThreadPool.RegisterWaitForSingleObject",
            "System.Threading.Timer..ctor",
            "System.Threading.Timer.Change",
            "System.Threading.CancellationTokenSource.Cancel",
            "System.Threading.CancellationTokenSource.CancelAfter",
            "System.Threading.Tasks.Task.Run",
            "System.Threading.Tasks.Task.Start",
            "System.Threading.Tasks.Task.Wait",
            "System.Threading.Tasks.Task.WaitAll",
            "System.Threading.Tasks.Task.WaitAny",
            "System.Threading.Tasks.Task.ContinueWith",
            "System.Threading.Tasks.Task.WhenAll",
            "System.Threading.Tasks.Task.WhenAny",
            "System.Threading.Tasks.TaskFactory.StartNew",
            "System.Threading.Tasks.Parallel.For",
            "System.Threading.Tasks.Parallel.Invoke",
        };
    }
}
