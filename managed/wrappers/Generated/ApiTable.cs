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
        internal const int ParallelForEach = 90;
        internal const int Task1GetResult = 91;
        internal const int Task1ContinueWith = 92;
        internal const int TaskCompletionSource1Ctor = 93;
        internal const int TaskCompletionSource1SetResult = 94;
        internal const int TaskCompletionSource1TrySetResult = 95;
        internal const int TaskCompletionSource1SetException = 96;
        internal const int TaskCompletionSource1TrySetException = 97;
        internal const int TaskCompletionSource1SetCanceled = 98;
        internal const int TaskCompletionSource1TrySetCanceled = 99;
        internal const int TaskCompletionSourceCtor = 100;
        internal const int TaskCompletionSourceSetResult = 101;
        internal const int TaskCompletionSourceTrySetResult = 102;
        internal const int TaskCompletionSourceSetException = 103;
        internal const int TaskCompletionSourceTrySetException = 104;
        internal const int TaskCompletionSourceSetCanceled = 105;
        internal const int TaskCompletionSourceTrySetCanceled = 106;
        internal const int ValueTask1GetResult = 107;
        internal const int ValueTask1AsTask = 108;
        internal const int ValueTaskAsTask = 109;
        internal const int TaskAwaiterGetResult = 110;
        internal const int TaskAwaiterOnCompleted = 111;
        internal const int TaskAwaiterUnsafeOnCompleted = 112;
        internal const int TaskAwaiter1GetResult = 113;
        internal const int TaskAwaiter1OnCompleted = 114;
        internal const int TaskAwaiter1UnsafeOnCompleted = 115;
        internal const int ConfiguredTaskAwaitableConfiguredTaskAwaiterGetResult = 116;
        internal const int ConfiguredTaskAwaitableConfiguredTaskAwaiterOnCompleted = 117;
        internal const int ConfiguredTaskAwaitableConfiguredTaskAwaiterUnsafeOnCompleted = 118;
        internal const int ConfiguredTaskAwaitable1ConfiguredTaskAwaiterGetResult = 119;
        internal const int ConfiguredTaskAwaitable1ConfiguredTaskAwaiterOnCompleted = 120;
        internal const int ConfiguredTaskAwaitable1ConfiguredTaskAwaiterUnsafeOnCompleted = 121;
        internal const int ValueTaskAwaiterGetResult = 122;
        internal const int ValueTaskAwaiterOnCompleted = 123;
        internal const int ValueTaskAwaiterUnsafeOnCompleted = 124;
        internal const int ValueTaskAwaiter1GetResult = 125;
        internal const int ValueTaskAwaiter1OnCompleted = 126;
        internal const int ValueTaskAwaiter1UnsafeOnCompleted = 127;
        internal const int ConfiguredValueTaskAwaitableConfiguredValueTaskAwaiterGetResult = 128;
        internal const int ConfiguredValueTaskAwaitableConfiguredValueTaskAwaiterOnCompleted = 129;
        internal const int ConfiguredValueTaskAwaitableConfiguredValueTaskAwaiterUnsafeOnCompleted = 130;
        internal const int ConfiguredValueTaskAwaitable1ConfiguredValueTaskAwaiterGetResult = 131;
        internal const int ConfiguredValueTaskAwaitable1ConfiguredValueTaskAwaiterOnCompleted = 132;
        internal const int ConfiguredValueTaskAwaitable1ConfiguredValueTaskAwaiterUnsafeOnCompleted = 133;
        internal const int AsyncTaskMethodBuilderStart = 134;
        internal const int AsyncTaskMethodBuilderAwaitOnCompleted = 135;
        internal const int AsyncTaskMethodBuilderAwaitUnsafeOnCompleted = 136;
        internal const int AsyncTaskMethodBuilderSetResult = 137;
        internal const int AsyncTaskMethodBuilderSetException = 138;
        internal const int AsyncTaskMethodBuilder1Start = 139;
        internal const int AsyncTaskMethodBuilder1AwaitOnCompleted = 140;
        internal const int AsyncTaskMethodBuilder1AwaitUnsafeOnCompleted = 141;
        internal const int AsyncTaskMethodBuilder1SetResult = 142;
        internal const int AsyncTaskMethodBuilder1SetException = 143;
        internal const int AsyncValueTaskMethodBuilderStart = 144;
        internal const int AsyncValueTaskMethodBuilderAwaitOnCompleted = 145;
        internal const int AsyncValueTaskMethodBuilderAwaitUnsafeOnCompleted = 146;
        internal const int AsyncValueTaskMethodBuilderSetResult = 147;
        internal const int AsyncValueTaskMethodBuilderSetException = 148;
        internal const int AsyncValueTaskMethodBuilder1Start = 149;
        internal const int AsyncValueTaskMethodBuilder1AwaitOnCompleted = 150;
        internal const int AsyncValueTaskMethodBuilder1AwaitUnsafeOnCompleted = 151;
        internal const int AsyncValueTaskMethodBuilder1SetResult = 152;
        internal const int AsyncValueTaskMethodBuilder1SetException = 153;
        internal const int AsyncVoidMethodBuilderStart = 154;
        internal const int AsyncVoidMethodBuilderAwaitOnCompleted = 155;
        internal const int AsyncVoidMethodBuilderAwaitUnsafeOnCompleted = 156;
        internal const int AsyncVoidMethodBuilderSetResult = 157;
        internal const int AsyncVoidMethodBuilderSetException = 158;
#if NET9_0_OR_GREATER
        internal const int LockCtor = 159;
        internal const int LockEnter = 160;
        internal const int LockTryEnter = 161;
        internal const int LockExit = 162;
        internal const int LockEnterScope = 163;
        internal const int LockScopeDispose = 164;
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
            "System.Threading.Tasks.Parallel.ForEach",
            "System.Threading.Tasks.Task`1.get_Result",
            "System.Threading.Tasks.Task`1.ContinueWith",
            "System.Threading.Tasks.TaskCompletionSource`1..ctor",
            "System.Threading.Tasks.TaskCompletionSource`1.SetResult",
            "System.Threading.Tasks.TaskCompletionSource`1.TrySetResult",
            "System.Threading.Tasks.TaskCompletionSource`1.SetException",
            "System.Threading.Tasks.TaskCompletionSource`1.TrySetException",
            "System.Threading.Tasks.TaskCompletionSource`1.SetCanceled",
            "System.Threading.Tasks.TaskCompletionSource`1.TrySetCanceled",
            "System.Threading.Tasks.TaskCompletionSource..ctor",
            "System.Threading.Tasks.TaskCompletionSource.SetResult",
            "System.Threading.Tasks.TaskCompletionSource.TrySetResult",
            "System.Threading.Tasks.TaskCompletionSource.SetException",
            "System.Threading.Tasks.TaskCompletionSource.TrySetException",
            "System.Threading.Tasks.TaskCompletionSource.SetCanceled",
            "System.Threading.Tasks.TaskCompletionSource.TrySetCanceled",
            "System.Threading.Tasks.ValueTask`1.get_Result",
            "System.Threading.Tasks.ValueTask`1.AsTask",
            "System.Threading.Tasks.ValueTask.AsTask",
            "System.Runtime.CompilerServices.TaskAwaiter.GetResult",
            "System.Runtime.CompilerServices.TaskAwaiter.OnCompleted",
            "System.Runtime.CompilerServices.TaskAwaiter.UnsafeOnCompleted",
            "System.Runtime.CompilerServices.TaskAwaiter`1.GetResult",
            "System.Runtime.CompilerServices.TaskAwaiter`1.OnCompleted",
            "System.Runtime.CompilerServices.TaskAwaiter`1.UnsafeOnCompleted",
            "System.Runtime.CompilerServices.ConfiguredTaskAwaitable+ConfiguredTaskAwaiter.GetResult",
            "System.Runtime.CompilerServices.ConfiguredTaskAwaitable+ConfiguredTaskAwaiter.OnCompleted",
            "System.Runtime.CompilerServices.ConfiguredTaskAwaitable+ConfiguredTaskAwaiter.UnsafeOnCompleted",
            "System.Runtime.CompilerServices.ConfiguredTaskAwaitable`1+ConfiguredTaskAwaiter.GetResult",
            "System.Runtime.CompilerServices.ConfiguredTaskAwaitable`1+ConfiguredTaskAwaiter.OnCompleted",
            "System.Runtime.CompilerServices.ConfiguredTaskAwaitable`1+ConfiguredTaskAwaiter.UnsafeOnCompleted",
            "System.Runtime.CompilerServices.ValueTaskAwaiter.GetResult",
            "System.Runtime.CompilerServices.ValueTaskAwaiter.OnCompleted",
            "System.Runtime.CompilerServices.ValueTaskAwaiter.UnsafeOnCompleted",
            "System.Runtime.CompilerServices.ValueTaskAwaiter`1.GetResult",
            "System.Runtime.CompilerServices.ValueTaskAwaiter`1.OnCompleted",
            "System.Runtime.CompilerServices.ValueTaskAwaiter`1.UnsafeOnCompleted",
            "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable+ConfiguredValueTaskAwaiter.GetResult",
            "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable+ConfiguredValueTaskAwaiter.OnCompleted",
            "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable+ConfiguredValueTaskAwaiter.UnsafeOnCompleted",
            "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable`1+ConfiguredValueTaskAwaiter.GetResult",
            "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable`1+ConfiguredValueTaskAwaiter.OnCompleted",
            "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable`1+ConfiguredValueTaskAwaiter.UnsafeOnCompleted",
            "System.Runtime.CompilerServices.AsyncTaskMethodBuilder.Start",
            "System.Runtime.CompilerServices.AsyncTaskMethodBuilder.AwaitOnCompleted",
            "System.Runtime.CompilerServices.AsyncTaskMethodBuilder.AwaitUnsafeOnCompleted",
            "System.Runtime.CompilerServices.AsyncTaskMethodBuilder.SetResult",
            "System.Runtime.CompilerServices.AsyncTaskMethodBuilder.SetException",
            "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1.Start",
            "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1.AwaitOnCompleted",
            "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1.AwaitUnsafeOnCompleted",
            "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1.SetResult",
            "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1.SetException",
            "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder.Start",
            "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder.AwaitOnCompleted",
            "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder.AwaitUnsafeOnCompleted",
            "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder.SetResult",
            "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder.SetException",
            "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1.Start",
            "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1.AwaitOnCompleted",
            "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1.AwaitUnsafeOnCompleted",
            "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1.SetResult",
            "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1.SetException",
            "System.Runtime.CompilerServices.AsyncVoidMethodBuilder.Start",
            "System.Runtime.CompilerServices.AsyncVoidMethodBuilder.AwaitOnCompleted",
            "System.Runtime.CompilerServices.AsyncVoidMethodBuilder.AwaitUnsafeOnCompleted",
            "System.Runtime.CompilerServices.AsyncVoidMethodBuilder.SetResult",
            "System.Runtime.CompilerServices.AsyncVoidMethodBuilder.SetException",
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
