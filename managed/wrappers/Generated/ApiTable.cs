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
        internal const int WaitHandleWaitAny = 14;
        internal const int WaitHandleWaitAll = 15;
        internal const int EventWaitHandleSet = 16;
        internal const int EventWaitHandleReset = 17;
        internal const int MutexCtor = 18;
        internal const int MutexReleaseMutex = 19;
        internal const int SemaphoreSlimCtor = 20;
        internal const int SemaphoreSlimWait = 21;
        internal const int SemaphoreSlimRelease = 22;
        internal const int SemaphoreSlimWaitAsync = 23;
        internal const int ReaderWriterLockSlimCtor = 24;
        internal const int ReaderWriterLockSlimEnterReadLock = 25;
        internal const int ReaderWriterLockSlimTryEnterReadLock = 26;
        internal const int ReaderWriterLockSlimExitReadLock = 27;
        internal const int ReaderWriterLockSlimEnterWriteLock = 28;
        internal const int ReaderWriterLockSlimTryEnterWriteLock = 29;
        internal const int ReaderWriterLockSlimExitWriteLock = 30;
        internal const int ReaderWriterLockSlimEnterUpgradeableReadLock = 31;
        internal const int ReaderWriterLockSlimTryEnterUpgradeableReadLock = 32;
        internal const int ReaderWriterLockSlimExitUpgradeableReadLock = 33;
        internal const int ReaderWriterLockCtor = 34;
        internal const int ReaderWriterLockAcquireReaderLock = 35;
        internal const int ReaderWriterLockReleaseReaderLock = 36;
        internal const int ReaderWriterLockAcquireWriterLock = 37;
        internal const int ReaderWriterLockReleaseWriterLock = 38;
        internal const int ReaderWriterLockUpgradeToWriterLock = 39;
        internal const int ReaderWriterLockDowngradeFromWriterLock = 40;
        internal const int ReaderWriterLockReleaseLock = 41;
        internal const int ReaderWriterLockRestoreLock = 42;
        internal const int ManualResetEventSlimCtor = 43;
        internal const int ManualResetEventSlimSet = 44;
        internal const int ManualResetEventSlimReset = 45;
        internal const int ManualResetEventSlimWait = 46;
        internal const int SemaphoreCtor = 47;
        internal const int SemaphoreRelease = 48;
        internal const int AutoResetEventCtor = 49;
        internal const int ManualResetEventCtor = 50;
        internal const int CountdownEventCtor = 51;
        internal const int CountdownEventSignal = 52;
        internal const int CountdownEventAddCount = 53;
        internal const int CountdownEventTryAddCount = 54;
        internal const int CountdownEventReset = 55;
        internal const int CountdownEventWait = 56;
        internal const int BarrierCtor = 57;
        internal const int BarrierSignalAndWait = 58;
        internal const int BarrierAddParticipant = 59;
        internal const int BarrierAddParticipants = 60;
        internal const int BarrierRemoveParticipant = 61;
        internal const int BarrierRemoveParticipants = 62;
        internal const int InterlockedIncrement = 63;
        internal const int InterlockedDecrement = 64;
        internal const int InterlockedAdd = 65;
        internal const int InterlockedExchange = 66;
        internal const int InterlockedCompareExchange = 67;
        internal const int InterlockedRead = 68;
        internal const int InterlockedAnd = 69;
        internal const int InterlockedOr = 70;
        internal const int InterlockedMemoryBarrier = 71;
        internal const int VolatileRead = 72;
        internal const int VolatileWrite = 73;
        internal const int VolatileReadBarrier = 74;
        internal const int VolatileWriteBarrier = 75;
        internal const int ThreadPoolQueueUserWorkItem = 76;
        internal const int ThreadPoolUnsafeQueueUserWorkItem = 77;
        internal const int ThreadPoolRegisterWaitForSingleObject = 78;
        internal const int TimerCtor = 79;
        internal const int TimerChange = 80;
        internal const int CancellationTokenSourceCancel = 81;
        internal const int CancellationTokenSourceCancelAfter = 82;
        internal const int CancellationTokenSourceCtor = 83;
        internal const int CancellationTokenSourceCreateLinkedTokenSource = 84;
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
        internal const int ParallelForEach = 96;
        internal const int Task1GetResult = 97;
        internal const int Task1ContinueWith = 98;
        internal const int TaskCompletionSource1Ctor = 99;
        internal const int TaskCompletionSource1SetResult = 100;
        internal const int TaskCompletionSource1TrySetResult = 101;
        internal const int TaskCompletionSource1SetException = 102;
        internal const int TaskCompletionSource1TrySetException = 103;
        internal const int TaskCompletionSource1SetCanceled = 104;
        internal const int TaskCompletionSource1TrySetCanceled = 105;
        internal const int TaskCompletionSourceCtor = 106;
        internal const int TaskCompletionSourceSetResult = 107;
        internal const int TaskCompletionSourceTrySetResult = 108;
        internal const int TaskCompletionSourceSetException = 109;
        internal const int TaskCompletionSourceTrySetException = 110;
        internal const int TaskCompletionSourceSetCanceled = 111;
        internal const int TaskCompletionSourceTrySetCanceled = 112;
        internal const int ValueTask1GetResult = 113;
        internal const int ValueTask1AsTask = 114;
        internal const int ValueTaskAsTask = 115;
        internal const int TaskAwaiterGetResult = 116;
        internal const int TaskAwaiterOnCompleted = 117;
        internal const int TaskAwaiterUnsafeOnCompleted = 118;
        internal const int TaskAwaiter1GetResult = 119;
        internal const int TaskAwaiter1OnCompleted = 120;
        internal const int TaskAwaiter1UnsafeOnCompleted = 121;
        internal const int ConfiguredTaskAwaitableConfiguredTaskAwaiterGetResult = 122;
        internal const int ConfiguredTaskAwaitableConfiguredTaskAwaiterOnCompleted = 123;
        internal const int ConfiguredTaskAwaitableConfiguredTaskAwaiterUnsafeOnCompleted = 124;
        internal const int ConfiguredTaskAwaitable1ConfiguredTaskAwaiterGetResult = 125;
        internal const int ConfiguredTaskAwaitable1ConfiguredTaskAwaiterOnCompleted = 126;
        internal const int ConfiguredTaskAwaitable1ConfiguredTaskAwaiterUnsafeOnCompleted = 127;
        internal const int ValueTaskAwaiterGetResult = 128;
        internal const int ValueTaskAwaiterOnCompleted = 129;
        internal const int ValueTaskAwaiterUnsafeOnCompleted = 130;
        internal const int ValueTaskAwaiter1GetResult = 131;
        internal const int ValueTaskAwaiter1OnCompleted = 132;
        internal const int ValueTaskAwaiter1UnsafeOnCompleted = 133;
        internal const int ConfiguredValueTaskAwaitableConfiguredValueTaskAwaiterGetResult = 134;
        internal const int ConfiguredValueTaskAwaitableConfiguredValueTaskAwaiterOnCompleted = 135;
        internal const int ConfiguredValueTaskAwaitableConfiguredValueTaskAwaiterUnsafeOnCompleted = 136;
        internal const int ConfiguredValueTaskAwaitable1ConfiguredValueTaskAwaiterGetResult = 137;
        internal const int ConfiguredValueTaskAwaitable1ConfiguredValueTaskAwaiterOnCompleted = 138;
        internal const int ConfiguredValueTaskAwaitable1ConfiguredValueTaskAwaiterUnsafeOnCompleted = 139;
        internal const int AsyncTaskMethodBuilderStart = 140;
        internal const int AsyncTaskMethodBuilderAwaitOnCompleted = 141;
        internal const int AsyncTaskMethodBuilderAwaitUnsafeOnCompleted = 142;
        internal const int AsyncTaskMethodBuilderSetResult = 143;
        internal const int AsyncTaskMethodBuilderSetException = 144;
        internal const int AsyncTaskMethodBuilder1Start = 145;
        internal const int AsyncTaskMethodBuilder1AwaitOnCompleted = 146;
        internal const int AsyncTaskMethodBuilder1AwaitUnsafeOnCompleted = 147;
        internal const int AsyncTaskMethodBuilder1SetResult = 148;
        internal const int AsyncTaskMethodBuilder1SetException = 149;
        internal const int AsyncValueTaskMethodBuilderStart = 150;
        internal const int AsyncValueTaskMethodBuilderAwaitOnCompleted = 151;
        internal const int AsyncValueTaskMethodBuilderAwaitUnsafeOnCompleted = 152;
        internal const int AsyncValueTaskMethodBuilderSetResult = 153;
        internal const int AsyncValueTaskMethodBuilderSetException = 154;
        internal const int AsyncValueTaskMethodBuilder1Start = 155;
        internal const int AsyncValueTaskMethodBuilder1AwaitOnCompleted = 156;
        internal const int AsyncValueTaskMethodBuilder1AwaitUnsafeOnCompleted = 157;
        internal const int AsyncValueTaskMethodBuilder1SetResult = 158;
        internal const int AsyncValueTaskMethodBuilder1SetException = 159;
        internal const int AsyncVoidMethodBuilderStart = 160;
        internal const int AsyncVoidMethodBuilderAwaitOnCompleted = 161;
        internal const int AsyncVoidMethodBuilderAwaitUnsafeOnCompleted = 162;
        internal const int AsyncVoidMethodBuilderSetResult = 163;
        internal const int AsyncVoidMethodBuilderSetException = 164;
#if NET9_0_OR_GREATER
        internal const int LockCtor = 165;
        internal const int LockEnter = 166;
        internal const int LockTryEnter = 167;
        internal const int LockExit = 168;
        internal const int LockEnterScope = 169;
        internal const int LockScopeDispose = 170;
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
            "System.Threading.WaitHandle.WaitAny",
            "System.Threading.WaitHandle.WaitAll",
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
            "System.Threading.Volatile.ReadBarrier",
            "System.Threading.Volatile.WriteBarrier",
            "System.Threading.ThreadPool.QueueUserWorkItem",
            "System.Threading.ThreadPool.UnsafeQueueUserWorkItem",
            "System.Threading.ThreadPool.RegisterWaitForSingleObject",
            "System.Threading.Timer..ctor",
            "System.Threading.Timer.Change",
            "System.Threading.CancellationTokenSource.Cancel",
            "System.Threading.CancellationTokenSource.CancelAfter",
            "System.Threading.CancellationTokenSource..ctor",
            "System.Threading.CancellationTokenSource.CreateLinkedTokenSource",
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
