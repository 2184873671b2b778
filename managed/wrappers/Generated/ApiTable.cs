// Written by generate.py from its table; edit the table and rerun it.

using System;

namespace Veskmrte.Wrappers
{
    // Ids passed to Report: each is its name's place in Names.
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

        internal static ReadOnlySpan<byte> Names =>
            "System.Threading.Monitor.Enter\0"u8
            + "System.Threading.Monitor.TryEnter\0"u8
            + "System.Threading.Monitor.Exit\0"u8
            + "System.Threading.Monitor.Wait\0"u8
            + "System.Threading.Monitor.Pulse\0"u8
            + "System.Threading.Monitor.PulseAll\0"u8
            + "System.Threading.Thread..ctor\0"u8
            + "System.Threading.Thread.Start\0"u8
            + "System.Threading.Thread.Join\0"u8
            + "System.Threading.Thread.Sleep\0"u8
            + "System.Threading.Thread.Interrupt\0"u8
            + "System.Threading.Thread.UnsafeStart\0"u8
            + "System.Threading.Thread.Yield\0"u8
            + "System.Threading.WaitHandle.WaitOne\0"u8
            + "System.Threading.WaitHandle.WaitAny\0"u8
            + "System.Threading.WaitHandle.WaitAll\0"u8
            + "System.Threading.EventWaitHandle.Set\0"u8
            + "System.Threading.EventWaitHandle.Reset\0"u8
            + "System.Threading.Mutex..ctor\0"u8
            + "System.Threading.Mutex.ReleaseMutex\0"u8
            + "System.Threading.SemaphoreSlim..ctor\0"u8
            + "System.Threading.SemaphoreSlim.Wait\0"u8
            + "System.Threading.SemaphoreSlim.Release\0"u8
            + "System.Threading.SemaphoreSlim.WaitAsync\0"u8
            + "System.Threading.ReaderWriterLockSlim..ctor\0"u8
            + "System.Threading.ReaderWriterLockSlim.EnterReadLock\0"u8
            + "System.Threading.ReaderWriterLockSlim.TryEnterReadLock\0"u8
            + "System.Threading.ReaderWriterLockSlim.ExitReadLock\0"u8
            + "System.Threading.ReaderWriterLockSlim.EnterWriteLock\0"u8
            + "System.Threading.ReaderWriterLockSlim.TryEnterWriteLock\0"u8
            + "System.Threading.ReaderWriterLockSlim.ExitWriteLock\0"u8
            + "System.Threading.ReaderWriterLockSlim.EnterUpgradeableReadLock\0"u8
            + "System.Threading.ReaderWriterLockSlim.TryEnterUpgradeableReadLock\0"u8
            + "System.Threading.ReaderWriterLockSlim.ExitUpgradeableReadLock\0"u8
            + "System.Threading.ReaderWriterLock..ctor\0"u8
            + "System.Threading.ReaderWriterLock.AcquireReaderLock\0"u8
            + "System.Threading.ReaderWriterLock.ReleaseReaderLock\0"u8
            + "System.Threading.ReaderWriterLock.AcquireWriterLock\0"u8
            + "System.Threading.ReaderWriterLock.ReleaseWriterLock\0"u8
            + "System.Threading.ReaderWriterLock.UpgradeToWriterLock\0"u8
            + "System.Threading.ReaderWriterLock.DowngradeFromWriterLock\0"u8
            + "System.Threading.ReaderWriterLock.ReleaseLock\0"u8
            + "System.Threading.ReaderWriterLock.RestoreLock\0"u8
            + "System.Threading.ManualResetEventSlim..ctor\0"u8
            + "System.Threading.ManualResetEventSlim.Set\0"u8
            + "System.Threading.ManualResetEventSlim.Reset\0"u8
            + "System.Threading.ManualResetEventSlim.Wait\0"u8
            + "System.Threading.Semaphore..ctor\0"u8
            + "System.Threading.Semaphore.Release\0"u8
            + "System.Threading.AutoResetEvent..ctor\0"u8
            + "System.Threading.ManualResetEvent..ctor\0"u8
            + "System.Threading.CountdownEvent..ctor\0"u8
            + "System.Threading.CountdownEvent.Signal\0"u8
            + "System.Threading.CountdownEvent.AddCount\0"u8
            + "System.Threading.CountdownEvent.TryAddCount\0"u8
            + "System.Threading.CountdownEvent.Reset\0"u8
            + "System.Threading.CountdownEvent.Wait\0"u8
            + "System.Threading.Barrier..ctor\0"u8
            + "System.Threading.Barrier.SignalAndWait\0"u8
            + "System.Threading.Barrier.AddParticipant\0"u8
            + "System.Threading.Barrier.AddParticipants\0"u8
            + "System.Threading.Barrier.RemoveParticipant\0"u8
            + "System.Threading.Barrier.RemoveParticipants\0"u8
            + "System.Threading.Interlocked.Increment\0"u8
            + "System.Threading.Interlocked.Decrement\0"u8
            + "System.Threading.Interlocked.Add\0"u8
            + "System.Threading.Interlocked.Exchange\0"u8
            + "System.Threading.Interlocked.CompareExchange\0"u8
            + "System.Threading.Interlocked.Read\0"u8
            + "System.Threading.Interlocked.And\0"u8
            + "System.Threading.Interlocked.Or\0"u8
            + "System.Threading.Interlocked.MemoryBarrier\0"u8
            + "System.Threading.Volatile.Read\0"u8
            + "System.Threading.Volatile.Write\0"u8
            + "System.Threading.Volatile.ReadBarrier\0"u8
            + "System.Threading.Volatile.WriteBarrier\0"u8
            + "System.Threading.ThreadPool.QueueUserWorkItem\0"u8
            + "System.Threading.ThreadPool.UnsafeQueueUserWorkItem\0"u8
            + "System.Threading.ThreadPool.RegisterWaitForSingleObject\0"u8
            + "System.Threading.Timer..ctor\0"u8
            + "System.Threading.Timer.Change\0"u8
            + "System.Threading.CancellationTokenSource.Cancel\0"u8
            + "System.Threading.CancellationTokenSource.CancelAfter\0"u8
            + "System.Threading.CancellationTokenSource..ctor\0"u8
            + "System.Threading.CancellationTokenSource.CreateLinkedTokenSource\0"u8
            + "System.Threading.Tasks.Task.Run\0"u8
            + "System.Threading.Tasks.Task.Start\0"u8
            + "System.Threading.Tasks.Task.Wait\0"u8
            + "System.Threading.Tasks.Task.WaitAll\0"u8
            + "System.Threading.Tasks.Task.WaitAny\0"u8
            + "System.Threading.Tasks.Task.ContinueWith\0"u8
            + "System.Threading.Tasks.Task.WhenAll\0"u8
            + "System.Threading.Tasks.Task.WhenAny\0"u8
            + "System.Threading.Tasks.TaskFactory.StartNew\0"u8
            + "System.Threading.Tasks.Parallel.For\0"u8
            + "System.Threading.Tasks.Parallel.Invoke\0"u8
            + "System.Threading.Tasks.Parallel.ForEach\0"u8
            + "System.Threading.Tasks.Task`1.get_Result\0"u8
            + "System.Threading.Tasks.Task`1.ContinueWith\0"u8
            + "System.Threading.Tasks.TaskCompletionSource`1..ctor\0"u8
            + "System.Threading.Tasks.TaskCompletionSource`1.SetResult\0"u8
            + "System.Threading.Tasks.TaskCompletionSource`1.TrySetResult\0"u8
            + "System.Threading.Tasks.TaskCompletionSource`1.SetException\0"u8
            + "System.Threading.Tasks.TaskCompletionSource`1.TrySetException\0"u8
            + "System.Threading.Tasks.TaskCompletionSource`1.SetCanceled\0"u8
            + "System.Threading.Tasks.TaskCompletionSource`1.TrySetCanceled\0"u8
            + "System.Threading.Tasks.TaskCompletionSource..ctor\0"u8
            + "System.Threading.Tasks.TaskCompletionSource.SetResult\0"u8
            + "System.Threading.Tasks.TaskCompletionSource.TrySetResult\0"u8
            + "System.Threading.Tasks.TaskCompletionSource.SetException\0"u8
            + "System.Threading.Tasks.TaskCompletionSource.TrySetException\0"u8
            + "System.Threading.Tasks.TaskCompletionSource.SetCanceled\0"u8
            + "System.Threading.Tasks.TaskCompletionSource.TrySetCanceled\0"u8
            + "System.Threading.Tasks.ValueTask`1.get_Result\0"u8
            + "System.Threading.Tasks.ValueTask`1.AsTask\0"u8
            + "System.Threading.Tasks.ValueTask.AsTask\0"u8
            + "System.Runtime.CompilerServices.TaskAwaiter.GetResult\0"u8
            + "System.Runtime.CompilerServices.TaskAwaiter.OnCompleted\0"u8
            + "System.Runtime.CompilerServices.TaskAwaiter.UnsafeOnCompleted\0"u8
            + "System.Runtime.CompilerServices.TaskAwaiter`1.GetResult\0"u8
            + "System.Runtime.CompilerServices.TaskAwaiter`1.OnCompleted\0"u8
            + "System.Runtime.CompilerServices.TaskAwaiter`1.UnsafeOnCompleted\0"u8
            + "System.Runtime.CompilerServices.ConfiguredTaskAwaitable+ConfiguredTaskAwaiter.GetResult\0"u8
            + "System.Runtime.CompilerServices.ConfiguredTaskAwaitable+ConfiguredTaskAwaiter.OnCompleted\0"u8
            + "System.Runtime.CompilerServices.ConfiguredTaskAwaitable+ConfiguredTaskAwaiter.UnsafeOnCompleted\0"u8
            + "System.Runtime.CompilerServices.ConfiguredTaskAwaitable`1+ConfiguredTaskAwaiter.GetResult\0"u8
            + "System.Runtime.CompilerServices.ConfiguredTaskAwaitable`1+ConfiguredTaskAwaiter.OnCompleted\0"u8
            + "System.Runtime.CompilerServices.ConfiguredTaskAwaitable`1+ConfiguredTaskAwaiter.UnsafeOnCompleted\0"u8
            + "System.Runtime.CompilerServices.ValueTaskAwaiter.GetResult\0"u8
            + "System.Runtime.CompilerServices.ValueTaskAwaiter.OnCompleted\0"u8
            + "System.Runtime.CompilerServices.ValueTaskAwaiter.UnsafeOnCompleted\0"u8
            + "System.Runtime.CompilerServices.ValueTaskAwaiter`1.GetResult\0"u8
            + "System.Runtime.CompilerServices.ValueTaskAwaiter`1.OnCompleted\0"u8
            + "System.Runtime.CompilerServices.ValueTaskAwaiter`1.UnsafeOnCompleted\0"u8
            + "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable+ConfiguredValueTaskAwaiter.GetResult\0"u8
            + "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable+ConfiguredValueTaskAwaiter.OnCompleted\0"u8
            + "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable+ConfiguredValueTaskAwaiter.UnsafeOnCompleted\0"u8
            + "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable`1+ConfiguredValueTaskAwaiter.GetResult\0"u8
            + "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable`1+ConfiguredValueTaskAwaiter.OnCompleted\0"u8
            + "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable`1+ConfiguredValueTaskAwaiter.UnsafeOnCompleted\0"u8
            + "System.Runtime.CompilerServices.AsyncTaskMethodBuilder.Start\0"u8
            + "System.Runtime.CompilerServices.AsyncTaskMethodBuilder.AwaitOnCompleted\0"u8
            + "System.Runtime.CompilerServices.AsyncTaskMethodBuilder.AwaitUnsafeOnCompleted\0"u8
            + "System.Runtime.CompilerServices.AsyncTaskMethodBuilder.SetResult\0"u8
            + "System.Runtime.CompilerServices.AsyncTaskMethodBuilder.SetException\0"u8
            + "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1.Start\0"u8
            + "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1.AwaitOnCompleted\0"u8
            + "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1.AwaitUnsafeOnCompleted\0"u8
            + "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1.SetResult\0"u8
            + "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1.SetException\0"u8
            + "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder.Start\0"u8
            + "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder.AwaitOnCompleted\0"u8
            + "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder.AwaitUnsafeOnCompleted\0"u8
            + "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder.SetResult\0"u8
            + "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder.SetException\0"u8
            + "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1.Start\0"u8
            + "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1.AwaitOnCompleted\0"u8
            + "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1.AwaitUnsafeOnCompleted\0"u8
            + "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1.SetResult\0"u8
            + "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1.SetException\0"u8
            + "System.Runtime.CompilerServices.AsyncVoidMethodBuilder.Start\0"u8
            + "System.Runtime.CompilerServices.AsyncVoidMethodBuilder.AwaitOnCompleted\0"u8
            + "System.Runtime.CompilerServices.AsyncVoidMethodBuilder.AwaitUnsafeOnCompleted\0"u8
            + "System.Runtime.CompilerServices.AsyncVoidMethodBuilder.SetResult\0"u8
            + "System.Runtime.CompilerServices.AsyncVoidMethodBuilder.SetException\0"u8
#if NET9_0_OR_GREATER
            + "System.Threading.Lock..ctor\0"u8
            + "System.Threading.Lock.Enter\0"u8
            + "System.Threading.Lock.TryEnter\0"u8
            + "System.Threading.Lock.Exit\0"u8
            + "System.Threading.Lock.EnterScope\0"u8
            + "System.Threading.Lock+Scope.Dispose\0"u8
#endif
            ;
    }
}
