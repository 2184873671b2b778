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
        internal const int ReaderWriterLockSlimCtor = 22;
        internal const int ReaderWriterLockSlimEnterReadLock = 23;
        internal const int ReaderWriterLockSlimTryEnterReadLock = 24;
        internal const int ReaderWriterLockSlimExitReadLock = 25;
        internal const int ReaderWriterLockSlimEnterWriteLock = 26;
        internal const int ReaderWriterLockSlimTryEnterWriteLock = 27;
        internal const int ReaderWriterLockSlimExitWriteLock = 28;
        internal const int ReaderWriterLockSlimEnterUpgradeableReadLock = 29;
        internal const int ReaderWriterLockSlimTryEnterUpgradeableReadLock = 30;
        internal const int ReaderWriterLockSlimExitUpgradeableReadLock = 31;
        internal const int ReaderWriterLockCtor = 32;
        internal const int ReaderWriterLockAcquireReaderLock = 33;
        internal const int ReaderWriterLockReleaseReaderLock = 34;
        internal const int ReaderWriterLockAcquireWriterLock = 35;
        internal const int ReaderWriterLockReleaseWriterLock = 36;
        internal const int ReaderWriterLockUpgradeToWriterLock = 37;
        internal const int ReaderWriterLockDowngradeFromWriterLock = 38;
        internal const int ReaderWriterLockReleaseLock = 39;
        internal const int ReaderWriterLockRestoreLock = 40;
        internal const int ManualResetEventSlimCtor = 41;
        internal const int ManualResetEventSlimSet = 42;
        internal const int ManualResetEventSlimReset = 43;
        internal const int ManualResetEventSlimWait = 44;
        internal const int SemaphoreCtor = 45;
        internal const int SemaphoreRelease = 46;
        internal const int AutoResetEventCtor = 47;
        internal const int ManualResetEventCtor = 48;
        internal const int CountdownEventCtor = 49;
        internal const int CountdownEventSignal = 50;
        internal const int CountdownEventAddCount = 51;
        internal const int CountdownEventTryAddCount = 52;
        internal const int CountdownEventReset = 53;
        internal const int CountdownEventWait = 54;
        internal const int BarrierCtor = 55;
        internal const int BarrierSignalAndWait = 56;
        internal const int BarrierAddParticipant = 57;
        internal const int BarrierAddParticipants = 58;
        internal const int BarrierRemoveParticipant = 59;
        internal const int BarrierRemoveParticipants = 60;
        internal const int InterlockedIncrement = 61;
        internal const int InterlockedDecrement = 62;
        internal const int InterlockedAdd = 63;
        internal const int InterlockedExchange = 64;
        internal const int InterlockedCompareExchange = 65;
        internal const int InterlockedRead = 66;
        internal const int InterlockedAnd = 67;
        internal const int InterlockedOr = 68;
        internal const int InterlockedMemoryBarrier = 69;
        internal const int VolatileRead = 70;
        internal const int VolatileWrite = 71;
        internal const int ThreadPoolQueueUserWorkItem = 72;
        internal const int ThreadPoolUnsafeQueueUserWorkItem = 73;
        internal const int ThreadPoolRegisterWaitForSingleObject = 74;
        internal const int TimerCtor = 75;
        internal const int TimerChange = 76;
        internal const int CancellationTokenSourceCancel = 77;
        internal const int CancellationTokenSourceCancelAfter = 78;
        internal const int TaskRun = 79;
        internal const int TaskStart = 80;
        internal const int TaskWait = 81;
        internal const int TaskWaitAll = 82;
        internal const int TaskWaitAny = 83;
        internal const int TaskContinueWith = 84;
        internal const int TaskWhenAll = 85;
        internal const int TaskWhenAny = 86;
        internal const int TaskFactoryStartNew = 87;
        internal const int ParallelFor = 88;
        internal const int ParallelInvoke = 89;
#if NET9_0_OR_GREATER
        internal const int LockCtor = 90;
        internal const int LockEnter = 91;
        internal const int LockTryEnter = 92;
        internal const int LockExit = 93;
        internal const int LockEnterScope = 94;
        internal const int LockScopeDispose = 95;
#endif

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
#if NET9_0_OR_GREATER
            "System.Threading.Lock..ctor",
            "System.Threading.Lock.Enter",
            "System.Threading.Lock.TryEnter",
            "System.Threading.Lock.Exit",
            "System.Threading.Lock.EnterScope",
            "System.Threading.Lock+Scope.Dispose",
#endif
        };
    }
}
