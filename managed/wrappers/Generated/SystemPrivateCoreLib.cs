// Written by generate.py from its table; edit the table and rerun it.

using System;
using System.Collections.Generic;
using System.Runtime.CompilerServices;
using System.Threading;
using System.Threading.Tasks;
using veskmrte_1_0;

namespace Veskmrte.Wrappers.SystemPrivateCoreLib
{
    // Replaces calls that name System.Threading.Monitor through "System.Private.CoreLib".
    public static unsafe class MonitorWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.Monitor", "Enter")]
        public static void Enter(object obj)
        {
            Report.Acquiring(ApiTable.MonitorEnter, obj);
            Monitor.Enter(obj);
            Report.Acquired(ApiTable.MonitorEnter, obj, true);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Monitor", "Enter")]
        public static void Enter(object obj, ref bool lockTaken)
        {
            Report.Acquiring(ApiTable.MonitorEnter, obj);
            Monitor.Enter(obj, ref lockTaken);
            Report.Acquired(ApiTable.MonitorEnter, obj, lockTaken);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Monitor", "TryEnter")]
        public static bool TryEnter(object obj)
        {
            Report.Before(ApiTable.MonitorTryEnter, obj);
            bool result = Monitor.TryEnter(obj);
            Report.Acquired(ApiTable.MonitorTryEnter, obj, result);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Monitor", "TryEnter")]
        public static bool TryEnter(object obj, int millisecondsTimeout)
        {
            Report.Before(ApiTable.MonitorTryEnter, obj);
            bool result = Monitor.TryEnter(obj, millisecondsTimeout);
            Report.Acquired(ApiTable.MonitorTryEnter, obj, result);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Monitor", "TryEnter")]
        public static bool TryEnter(object obj, TimeSpan timeout)
        {
            Report.Before(ApiTable.MonitorTryEnter, obj);
            bool result = Monitor.TryEnter(obj, timeout);
            Report.Acquired(ApiTable.MonitorTryEnter, obj, result);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Monitor", "TryEnter")]
        public static void TryEnter(object obj, ref bool lockTaken)
        {
            Report.Before(ApiTable.MonitorTryEnter, obj);
            Monitor.TryEnter(obj, ref lockTaken);
            Report.Acquired(ApiTable.MonitorTryEnter, obj, lockTaken);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Monitor", "TryEnter")]
        public static void TryEnter(object obj, int millisecondsTimeout, ref bool lockTaken)
        {
            Report.Before(ApiTable.MonitorTryEnter, obj);
            Monitor.TryEnter(obj, millisecondsTimeout, ref lockTaken);
            Report.Acquired(ApiTable.MonitorTryEnter, obj, lockTaken);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Monitor", "TryEnter")]
        public static void TryEnter(object obj, TimeSpan timeout, ref bool lockTaken)
        {
            Report.Before(ApiTable.MonitorTryEnter, obj);
            Monitor.TryEnter(obj, timeout, ref lockTaken);
            Report.Acquired(ApiTable.MonitorTryEnter, obj, lockTaken);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Monitor", "Exit")]
        public static void Exit(object obj)
        {
            Report.Releasing(ApiTable.MonitorExit, obj);
            Monitor.Exit(obj);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Monitor", "Wait")]
        public static bool Wait(object obj)
        {
            Report.Waiting(ApiTable.MonitorWait, obj);
            bool result = Monitor.Wait(obj);
            Report.Acquired(ApiTable.MonitorWait, obj, true);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Monitor", "Wait")]
        public static bool Wait(object obj, int millisecondsTimeout)
        {
            Report.Waiting(ApiTable.MonitorWait, obj);
            bool result = Monitor.Wait(obj, millisecondsTimeout);
            Report.Acquired(ApiTable.MonitorWait, obj, true);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Monitor", "Wait")]
        public static bool Wait(object obj, TimeSpan timeout)
        {
            Report.Waiting(ApiTable.MonitorWait, obj);
            bool result = Monitor.Wait(obj, timeout);
            Report.Acquired(ApiTable.MonitorWait, obj, true);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Monitor", "Wait")]
        public static bool Wait(object obj, int millisecondsTimeout, bool exitContext)
        {
            Report.Waiting(ApiTable.MonitorWait, obj);
            bool result = Monitor.Wait(obj, millisecondsTimeout, exitContext);
            Report.Acquired(ApiTable.MonitorWait, obj, true);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Monitor", "Wait")]
        public static bool Wait(object obj, TimeSpan timeout, bool exitContext)
        {
            Report.Waiting(ApiTable.MonitorWait, obj);
            bool result = Monitor.Wait(obj, timeout, exitContext);
            Report.Acquired(ApiTable.MonitorWait, obj, true);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Monitor", "Pulse")]
        public static void Pulse(object obj)
        {
            Report.Before(ApiTable.MonitorPulse, obj);
            Monitor.Pulse(obj);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Monitor", "PulseAll")]
        public static void PulseAll(object obj)
        {
            Report.Before(ApiTable.MonitorPulseAll, obj);
            Monitor.PulseAll(obj);
        }
    }

    // Replaces calls that name System.Threading.Thread through "System.Private.CoreLib".
    public static unsafe class ThreadWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.Thread", ".ctor")]
        public static Thread Ctor(ThreadStart start)
        {
            Report.Before(ApiTable.ThreadCtor, null);
            return new Thread(start);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Thread", ".ctor")]
        public static Thread Ctor(ThreadStart start, int maxStackSize)
        {
            Report.Before(ApiTable.ThreadCtor, null);
            return new Thread(start, maxStackSize);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Thread", ".ctor")]
        public static Thread Ctor(ParameterizedThreadStart start)
        {
            Report.Before(ApiTable.ThreadCtor, null);
            return new Thread(start);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Thread", ".ctor")]
        public static Thread Ctor(ParameterizedThreadStart start, int maxStackSize)
        {
            Report.Before(ApiTable.ThreadCtor, null);
            return new Thread(start, maxStackSize);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Thread", "Start")]
        public static void Start(Thread thread)
        {
            Report.Before(ApiTable.ThreadStart, thread);
            thread.Start();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Thread", "Start")]
        public static void Start(Thread thread, object? parameter)
        {
            Report.Before(ApiTable.ThreadStart, thread);
            thread.Start(parameter);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Thread", "Join")]
        public static void Join(Thread thread)
        {
            Report.Before(ApiTable.ThreadJoin, thread);
            thread.Join();
            Report.After(ApiTable.ThreadJoin, thread);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Thread", "Join")]
        public static bool Join(Thread thread, int millisecondsTimeout)
        {
            Report.Before(ApiTable.ThreadJoin, thread);
            bool result = thread.Join(millisecondsTimeout);
            Report.After(ApiTable.ThreadJoin, thread);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Thread", "Join")]
        public static bool Join(Thread thread, TimeSpan timeout)
        {
            Report.Before(ApiTable.ThreadJoin, thread);
            bool result = thread.Join(timeout);
            Report.After(ApiTable.ThreadJoin, thread);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Thread", "Sleep")]
        public static void Sleep(int millisecondsTimeout)
        {
            Report.Before(ApiTable.ThreadSleep, null);
            Thread.Sleep(millisecondsTimeout);
            Report.After(ApiTable.ThreadSleep, null);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Thread", "Sleep")]
        public static void Sleep(TimeSpan timeout)
        {
            Report.Before(ApiTable.ThreadSleep, null);
            Thread.Sleep(timeout);
            Report.After(ApiTable.ThreadSleep, null);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Thread", "Interrupt")]
        public static void Interrupt(Thread thread)
        {
            Report.Before(ApiTable.ThreadInterrupt, thread);
            thread.Interrupt();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Thread", "UnsafeStart")]
        public static void UnsafeStart(Thread thread)
        {
            Report.Before(ApiTable.ThreadUnsafeStart, thread);
            thread.UnsafeStart();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Thread", "UnsafeStart")]
        public static void UnsafeStart(Thread thread, object? parameter)
        {
            Report.Before(ApiTable.ThreadUnsafeStart, thread);
            thread.UnsafeStart(parameter);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Thread", "Yield")]
        public static bool Yield()
        {
            Report.Before(ApiTable.ThreadYield, null);
            return Thread.Yield();
        }
    }

    // Replaces calls that name System.Threading.WaitHandle through "System.Private.CoreLib".
    public static unsafe class WaitHandleWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.WaitHandle", "WaitOne")]
        public static bool WaitOne(WaitHandle handle)
        {
            Report.AcquiringMutex(ApiTable.WaitHandleWaitOne, handle);
            bool result = handle.WaitOne();
            Report.AcquiredMutex(ApiTable.WaitHandleWaitOne, handle, result);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.WaitHandle", "WaitOne")]
        public static bool WaitOne(WaitHandle handle, int millisecondsTimeout)
        {
            Report.Before(ApiTable.WaitHandleWaitOne, handle);
            bool result = handle.WaitOne(millisecondsTimeout);
            Report.AcquiredMutex(ApiTable.WaitHandleWaitOne, handle, result);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.WaitHandle", "WaitOne")]
        public static bool WaitOne(WaitHandle handle, TimeSpan timeout)
        {
            Report.Before(ApiTable.WaitHandleWaitOne, handle);
            bool result = handle.WaitOne(timeout);
            Report.AcquiredMutex(ApiTable.WaitHandleWaitOne, handle, result);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.WaitHandle", "WaitOne")]
        public static bool WaitOne(WaitHandle handle, int millisecondsTimeout, bool exitContext)
        {
            Report.Before(ApiTable.WaitHandleWaitOne, handle);
            bool result = handle.WaitOne(millisecondsTimeout, exitContext);
            Report.AcquiredMutex(ApiTable.WaitHandleWaitOne, handle, result);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.WaitHandle", "WaitOne")]
        public static bool WaitOne(WaitHandle handle, TimeSpan timeout, bool exitContext)
        {
            Report.Before(ApiTable.WaitHandleWaitOne, handle);
            bool result = handle.WaitOne(timeout, exitContext);
            Report.AcquiredMutex(ApiTable.WaitHandleWaitOne, handle, result);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.WaitHandle", "WaitAny")]
        public static int WaitAny(WaitHandle[] waitHandles)
        {
            Report.Before(ApiTable.WaitHandleWaitAny, null);
            int result = WaitHandle.WaitAny(waitHandles);
            Report.After(ApiTable.WaitHandleWaitAny, null);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.WaitHandle", "WaitAny")]
        public static int WaitAny(WaitHandle[] waitHandles, int millisecondsTimeout)
        {
            Report.Before(ApiTable.WaitHandleWaitAny, null);
            int result = WaitHandle.WaitAny(waitHandles, millisecondsTimeout);
            Report.After(ApiTable.WaitHandleWaitAny, null);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.WaitHandle", "WaitAny")]
        public static int WaitAny(WaitHandle[] waitHandles, TimeSpan timeout)
        {
            Report.Before(ApiTable.WaitHandleWaitAny, null);
            int result = WaitHandle.WaitAny(waitHandles, timeout);
            Report.After(ApiTable.WaitHandleWaitAny, null);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.WaitHandle", "WaitAny")]
        public static int WaitAny(WaitHandle[] waitHandles, int millisecondsTimeout, bool exitContext)
        {
            Report.Before(ApiTable.WaitHandleWaitAny, null);
            int result = WaitHandle.WaitAny(waitHandles, millisecondsTimeout, exitContext);
            Report.After(ApiTable.WaitHandleWaitAny, null);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.WaitHandle", "WaitAny")]
        public static int WaitAny(WaitHandle[] waitHandles, TimeSpan timeout, bool exitContext)
        {
            Report.Before(ApiTable.WaitHandleWaitAny, null);
            int result = WaitHandle.WaitAny(waitHandles, timeout, exitContext);
            Report.After(ApiTable.WaitHandleWaitAny, null);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.WaitHandle", "WaitAll")]
        public static bool WaitAll(WaitHandle[] waitHandles)
        {
            Report.Before(ApiTable.WaitHandleWaitAll, null);
            bool result = WaitHandle.WaitAll(waitHandles);
            Report.After(ApiTable.WaitHandleWaitAll, null);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.WaitHandle", "WaitAll")]
        public static bool WaitAll(WaitHandle[] waitHandles, int millisecondsTimeout)
        {
            Report.Before(ApiTable.WaitHandleWaitAll, null);
            bool result = WaitHandle.WaitAll(waitHandles, millisecondsTimeout);
            Report.After(ApiTable.WaitHandleWaitAll, null);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.WaitHandle", "WaitAll")]
        public static bool WaitAll(WaitHandle[] waitHandles, TimeSpan timeout)
        {
            Report.Before(ApiTable.WaitHandleWaitAll, null);
            bool result = WaitHandle.WaitAll(waitHandles, timeout);
            Report.After(ApiTable.WaitHandleWaitAll, null);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.WaitHandle", "WaitAll")]
        public static bool WaitAll(WaitHandle[] waitHandles, int millisecondsTimeout, bool exitContext)
        {
            Report.Before(ApiTable.WaitHandleWaitAll, null);
            bool result = WaitHandle.WaitAll(waitHandles, millisecondsTimeout, exitContext);
            Report.After(ApiTable.WaitHandleWaitAll, null);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.WaitHandle", "WaitAll")]
        public static bool WaitAll(WaitHandle[] waitHandles, TimeSpan timeout, bool exitContext)
        {
            Report.Before(ApiTable.WaitHandleWaitAll, null);
            bool result = WaitHandle.WaitAll(waitHandles, timeout, exitContext);
            Report.After(ApiTable.WaitHandleWaitAll, null);
            return result;
        }
    }

    // Replaces calls that name System.Threading.EventWaitHandle through "System.Private.CoreLib".
    public static unsafe class EventWaitHandleWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.EventWaitHandle", "Set")]
        public static bool Set(EventWaitHandle handle)
        {
            Report.Before(ApiTable.EventWaitHandleSet, handle);
            return handle.Set();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.EventWaitHandle", "Reset")]
        public static bool Reset(EventWaitHandle handle)
        {
            Report.Before(ApiTable.EventWaitHandleReset, handle);
            return handle.Reset();
        }
    }

    // Replaces calls that name System.Threading.Mutex through "System.Private.CoreLib".
    public static unsafe class MutexWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.Mutex", ".ctor")]
        public static Mutex Ctor()
        {
            Report.Before(ApiTable.MutexCtor, null);
            return new Mutex();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Mutex", ".ctor")]
        public static Mutex Ctor(bool initiallyOwned)
        {
            Report.Before(ApiTable.MutexCtor, null);
            return new Mutex(initiallyOwned);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Mutex", ".ctor")]
        public static Mutex Ctor(bool initiallyOwned, string? name)
        {
            Report.Before(ApiTable.MutexCtor, null);
            return new Mutex(initiallyOwned, name);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Mutex", ".ctor")]
        public static Mutex Ctor(bool initiallyOwned, string? name, out bool createdNew)
        {
            Report.Before(ApiTable.MutexCtor, null);
            return new Mutex(initiallyOwned, name, out createdNew);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Mutex", "ReleaseMutex")]
        public static void ReleaseMutex(Mutex mutex)
        {
            Report.Releasing(ApiTable.MutexReleaseMutex, mutex);
            mutex.ReleaseMutex();
        }
    }

    // Replaces calls that name System.Threading.SemaphoreSlim through "System.Private.CoreLib".
    public static unsafe class SemaphoreSlimWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.SemaphoreSlim", ".ctor")]
        public static SemaphoreSlim Ctor(int initialCount)
        {
            Report.Before(ApiTable.SemaphoreSlimCtor, null);
            return new SemaphoreSlim(initialCount);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.SemaphoreSlim", ".ctor")]
        public static SemaphoreSlim Ctor(int initialCount, int maxCount)
        {
            Report.Before(ApiTable.SemaphoreSlimCtor, null);
            return new SemaphoreSlim(initialCount, maxCount);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.SemaphoreSlim", "Wait")]
        public static void Wait(SemaphoreSlim semaphore)
        {
            Report.Acquiring(ApiTable.SemaphoreSlimWait, semaphore);
            semaphore.Wait();
            Report.Acquired(ApiTable.SemaphoreSlimWait, semaphore, true);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.SemaphoreSlim", "Wait")]
        public static bool Wait(SemaphoreSlim semaphore, int millisecondsTimeout)
        {
            Report.Before(ApiTable.SemaphoreSlimWait, semaphore);
            bool result = semaphore.Wait(millisecondsTimeout);
            Report.Acquired(ApiTable.SemaphoreSlimWait, semaphore, result);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.SemaphoreSlim", "Wait")]
        public static bool Wait(SemaphoreSlim semaphore, TimeSpan timeout)
        {
            Report.Before(ApiTable.SemaphoreSlimWait, semaphore);
            bool result = semaphore.Wait(timeout);
            Report.Acquired(ApiTable.SemaphoreSlimWait, semaphore, result);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.SemaphoreSlim", "Wait")]
        public static void Wait(SemaphoreSlim semaphore, CancellationToken cancellationToken)
        {
            Report.Acquiring(ApiTable.SemaphoreSlimWait, semaphore);
            semaphore.Wait(cancellationToken);
            Report.Acquired(ApiTable.SemaphoreSlimWait, semaphore, true);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.SemaphoreSlim", "Wait")]
        public static bool Wait(SemaphoreSlim semaphore, int millisecondsTimeout, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.SemaphoreSlimWait, semaphore);
            bool result = semaphore.Wait(millisecondsTimeout, cancellationToken);
            Report.Acquired(ApiTable.SemaphoreSlimWait, semaphore, result);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.SemaphoreSlim", "Wait")]
        public static bool Wait(SemaphoreSlim semaphore, TimeSpan timeout, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.SemaphoreSlimWait, semaphore);
            bool result = semaphore.Wait(timeout, cancellationToken);
            Report.Acquired(ApiTable.SemaphoreSlimWait, semaphore, result);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.SemaphoreSlim", "Release")]
        public static int Release(SemaphoreSlim semaphore)
        {
            Report.Releasing(ApiTable.SemaphoreSlimRelease, semaphore);
            return semaphore.Release();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.SemaphoreSlim", "Release")]
        public static int Release(SemaphoreSlim semaphore, int releaseCount)
        {
            Report.Releasing(ApiTable.SemaphoreSlimRelease, semaphore);
            return semaphore.Release(releaseCount);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.SemaphoreSlim", "WaitAsync")]
        public static Task WaitAsync(SemaphoreSlim semaphore)
        {
            Report.Before(ApiTable.SemaphoreSlimWaitAsync, semaphore);
            return semaphore.WaitAsync();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.SemaphoreSlim", "WaitAsync")]
        public static Task<bool> WaitAsync(SemaphoreSlim semaphore, int millisecondsTimeout)
        {
            Report.Before(ApiTable.SemaphoreSlimWaitAsync, semaphore);
            return semaphore.WaitAsync(millisecondsTimeout);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.SemaphoreSlim", "WaitAsync")]
        public static Task<bool> WaitAsync(SemaphoreSlim semaphore, TimeSpan timeout)
        {
            Report.Before(ApiTable.SemaphoreSlimWaitAsync, semaphore);
            return semaphore.WaitAsync(timeout);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.SemaphoreSlim", "WaitAsync")]
        public static Task WaitAsync(SemaphoreSlim semaphore, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.SemaphoreSlimWaitAsync, semaphore);
            return semaphore.WaitAsync(cancellationToken);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.SemaphoreSlim", "WaitAsync")]
        public static Task<bool> WaitAsync(SemaphoreSlim semaphore, int millisecondsTimeout, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.SemaphoreSlimWaitAsync, semaphore);
            return semaphore.WaitAsync(millisecondsTimeout, cancellationToken);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.SemaphoreSlim", "WaitAsync")]
        public static Task<bool> WaitAsync(SemaphoreSlim semaphore, TimeSpan timeout, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.SemaphoreSlimWaitAsync, semaphore);
            return semaphore.WaitAsync(timeout, cancellationToken);
        }
    }

#if NET9_0_OR_GREATER
#pragma warning disable CS9216
    // Replaces calls that name System.Threading.Lock through "System.Private.CoreLib".
    public static unsafe class LockWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.Lock", ".ctor")]
        public static Lock Ctor()
        {
            Report.Before(ApiTable.LockCtor, null);
            return new Lock();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Lock", "Enter")]
        public static void Enter(Lock lockObj)
        {
            Report.Acquiring(ApiTable.LockEnter, lockObj);
            lockObj.Enter();
            Report.Acquired(ApiTable.LockEnter, lockObj, true);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Lock", "TryEnter")]
        public static bool TryEnter(Lock lockObj)
        {
            Report.Before(ApiTable.LockTryEnter, lockObj);
            bool result = lockObj.TryEnter();
            Report.Acquired(ApiTable.LockTryEnter, lockObj, result);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Lock", "TryEnter")]
        public static bool TryEnter(Lock lockObj, int millisecondsTimeout)
        {
            Report.Before(ApiTable.LockTryEnter, lockObj);
            bool result = lockObj.TryEnter(millisecondsTimeout);
            Report.Acquired(ApiTable.LockTryEnter, lockObj, result);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Lock", "TryEnter")]
        public static bool TryEnter(Lock lockObj, TimeSpan timeout)
        {
            Report.Before(ApiTable.LockTryEnter, lockObj);
            bool result = lockObj.TryEnter(timeout);
            Report.Acquired(ApiTable.LockTryEnter, lockObj, result);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Lock", "Exit")]
        public static void Exit(Lock lockObj)
        {
            Report.Releasing(ApiTable.LockExit, lockObj);
            lockObj.Exit();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Lock", "EnterScope")]
        public static Lock.Scope EnterScope(Lock lockObj)
        {
            Report.Acquiring(ApiTable.LockEnterScope, lockObj);
            Lock.Scope result = lockObj.EnterScope();
            Report.Acquired(ApiTable.LockEnterScope, lockObj, true);
            return result;
        }
    }
#pragma warning restore CS9216
#endif

#if NET9_0_OR_GREATER
#pragma warning disable CS9216
    // Replaces calls that name System.Threading.Lock+Scope through "System.Private.CoreLib".
    public static unsafe class LockScopeWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.Lock+Scope", "Dispose")]
        public static void Dispose(ref Lock.Scope scope)
        {
            Report.Releasing(ApiTable.LockScopeDispose, LockScopes.LockOf(ref scope));
            scope.Dispose();
        }
    }
#pragma warning restore CS9216
#endif

    // Replaces calls that name System.Threading.ReaderWriterLockSlim through "System.Private.CoreLib".
    public static unsafe class ReaderWriterLockSlimWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.ReaderWriterLockSlim", ".ctor")]
        public static ReaderWriterLockSlim Ctor()
        {
            Report.Before(ApiTable.ReaderWriterLockSlimCtor, null);
            return new ReaderWriterLockSlim();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ReaderWriterLockSlim", ".ctor")]
        public static ReaderWriterLockSlim Ctor(LockRecursionPolicy recursionPolicy)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimCtor, null);
            return new ReaderWriterLockSlim(recursionPolicy);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ReaderWriterLockSlim", "EnterReadLock")]
        public static void EnterReadLock(ReaderWriterLockSlim rwLock)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimEnterReadLock, rwLock);
            rwLock.EnterReadLock();
            Report.After(ApiTable.ReaderWriterLockSlimEnterReadLock, rwLock);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ReaderWriterLockSlim", "TryEnterReadLock")]
        public static bool TryEnterReadLock(ReaderWriterLockSlim rwLock, int millisecondsTimeout)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimTryEnterReadLock, rwLock);
            bool result = rwLock.TryEnterReadLock(millisecondsTimeout);
            Report.After(ApiTable.ReaderWriterLockSlimTryEnterReadLock, rwLock);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ReaderWriterLockSlim", "TryEnterReadLock")]
        public static bool TryEnterReadLock(ReaderWriterLockSlim rwLock, TimeSpan timeout)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimTryEnterReadLock, rwLock);
            bool result = rwLock.TryEnterReadLock(timeout);
            Report.After(ApiTable.ReaderWriterLockSlimTryEnterReadLock, rwLock);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ReaderWriterLockSlim", "ExitReadLock")]
        public static void ExitReadLock(ReaderWriterLockSlim rwLock)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimExitReadLock, rwLock);
            rwLock.ExitReadLock();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ReaderWriterLockSlim", "EnterWriteLock")]
        public static void EnterWriteLock(ReaderWriterLockSlim rwLock)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimEnterWriteLock, rwLock);
            rwLock.EnterWriteLock();
            Report.After(ApiTable.ReaderWriterLockSlimEnterWriteLock, rwLock);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ReaderWriterLockSlim", "TryEnterWriteLock")]
        public static bool TryEnterWriteLock(ReaderWriterLockSlim rwLock, int millisecondsTimeout)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimTryEnterWriteLock, rwLock);
            bool result = rwLock.TryEnterWriteLock(millisecondsTimeout);
            Report.After(ApiTable.ReaderWriterLockSlimTryEnterWriteLock, rwLock);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ReaderWriterLockSlim", "TryEnterWriteLock")]
        public static bool TryEnterWriteLock(ReaderWriterLockSlim rwLock, TimeSpan timeout)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimTryEnterWriteLock, rwLock);
            bool result = rwLock.TryEnterWriteLock(timeout);
            Report.After(ApiTable.ReaderWriterLockSlimTryEnterWriteLock, rwLock);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ReaderWriterLockSlim", "ExitWriteLock")]
        public static void ExitWriteLock(ReaderWriterLockSlim rwLock)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimExitWriteLock, rwLock);
            rwLock.ExitWriteLock();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ReaderWriterLockSlim", "EnterUpgradeableReadLock")]
        public static void EnterUpgradeableReadLock(ReaderWriterLockSlim rwLock)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimEnterUpgradeableReadLock, rwLock);
            rwLock.EnterUpgradeableReadLock();
            Report.After(ApiTable.ReaderWriterLockSlimEnterUpgradeableReadLock, rwLock);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ReaderWriterLockSlim", "TryEnterUpgradeableReadLock")]
        public static bool TryEnterUpgradeableReadLock(ReaderWriterLockSlim rwLock, int millisecondsTimeout)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimTryEnterUpgradeableReadLock, rwLock);
            bool result = rwLock.TryEnterUpgradeableReadLock(millisecondsTimeout);
            Report.After(ApiTable.ReaderWriterLockSlimTryEnterUpgradeableReadLock, rwLock);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ReaderWriterLockSlim", "TryEnterUpgradeableReadLock")]
        public static bool TryEnterUpgradeableReadLock(ReaderWriterLockSlim rwLock, TimeSpan timeout)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimTryEnterUpgradeableReadLock, rwLock);
            bool result = rwLock.TryEnterUpgradeableReadLock(timeout);
            Report.After(ApiTable.ReaderWriterLockSlimTryEnterUpgradeableReadLock, rwLock);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ReaderWriterLockSlim", "ExitUpgradeableReadLock")]
        public static void ExitUpgradeableReadLock(ReaderWriterLockSlim rwLock)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimExitUpgradeableReadLock, rwLock);
            rwLock.ExitUpgradeableReadLock();
        }
    }

    // Replaces calls that name System.Threading.ManualResetEventSlim through "System.Private.CoreLib".
    public static unsafe class ManualResetEventSlimWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.ManualResetEventSlim", ".ctor")]
        public static ManualResetEventSlim Ctor()
        {
            Report.Before(ApiTable.ManualResetEventSlimCtor, null);
            return new ManualResetEventSlim();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ManualResetEventSlim", ".ctor")]
        public static ManualResetEventSlim Ctor(bool initialState)
        {
            Report.Before(ApiTable.ManualResetEventSlimCtor, null);
            return new ManualResetEventSlim(initialState);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ManualResetEventSlim", ".ctor")]
        public static ManualResetEventSlim Ctor(bool initialState, int spinCount)
        {
            Report.Before(ApiTable.ManualResetEventSlimCtor, null);
            return new ManualResetEventSlim(initialState, spinCount);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ManualResetEventSlim", "Set")]
        public static void Set(ManualResetEventSlim slimEvent)
        {
            Report.Before(ApiTable.ManualResetEventSlimSet, slimEvent);
            slimEvent.Set();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ManualResetEventSlim", "Reset")]
        public static void Reset(ManualResetEventSlim slimEvent)
        {
            Report.Before(ApiTable.ManualResetEventSlimReset, slimEvent);
            slimEvent.Reset();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ManualResetEventSlim", "Wait")]
        public static void Wait(ManualResetEventSlim slimEvent)
        {
            Report.Before(ApiTable.ManualResetEventSlimWait, slimEvent);
            slimEvent.Wait();
            Report.After(ApiTable.ManualResetEventSlimWait, slimEvent);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ManualResetEventSlim", "Wait")]
        public static bool Wait(ManualResetEventSlim slimEvent, int millisecondsTimeout)
        {
            Report.Before(ApiTable.ManualResetEventSlimWait, slimEvent);
            bool result = slimEvent.Wait(millisecondsTimeout);
            Report.After(ApiTable.ManualResetEventSlimWait, slimEvent);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ManualResetEventSlim", "Wait")]
        public static bool Wait(ManualResetEventSlim slimEvent, TimeSpan timeout)
        {
            Report.Before(ApiTable.ManualResetEventSlimWait, slimEvent);
            bool result = slimEvent.Wait(timeout);
            Report.After(ApiTable.ManualResetEventSlimWait, slimEvent);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ManualResetEventSlim", "Wait")]
        public static void Wait(ManualResetEventSlim slimEvent, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.ManualResetEventSlimWait, slimEvent);
            slimEvent.Wait(cancellationToken);
            Report.After(ApiTable.ManualResetEventSlimWait, slimEvent);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ManualResetEventSlim", "Wait")]
        public static bool Wait(ManualResetEventSlim slimEvent, int millisecondsTimeout, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.ManualResetEventSlimWait, slimEvent);
            bool result = slimEvent.Wait(millisecondsTimeout, cancellationToken);
            Report.After(ApiTable.ManualResetEventSlimWait, slimEvent);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ManualResetEventSlim", "Wait")]
        public static bool Wait(ManualResetEventSlim slimEvent, TimeSpan timeout, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.ManualResetEventSlimWait, slimEvent);
            bool result = slimEvent.Wait(timeout, cancellationToken);
            Report.After(ApiTable.ManualResetEventSlimWait, slimEvent);
            return result;
        }
    }

    // Replaces calls that name System.Threading.Semaphore through "System.Private.CoreLib".
    public static unsafe class SemaphoreWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.Semaphore", ".ctor")]
        public static Semaphore Ctor(int initialCount, int maximumCount)
        {
            Report.Before(ApiTable.SemaphoreCtor, null);
            return new Semaphore(initialCount, maximumCount);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Semaphore", ".ctor")]
        public static Semaphore Ctor(int initialCount, int maximumCount, string? name)
        {
            Report.Before(ApiTable.SemaphoreCtor, null);
            return new Semaphore(initialCount, maximumCount, name);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Semaphore", ".ctor")]
        public static Semaphore Ctor(int initialCount, int maximumCount, string? name, out bool createdNew)
        {
            Report.Before(ApiTable.SemaphoreCtor, null);
            return new Semaphore(initialCount, maximumCount, name, out createdNew);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Semaphore", "Release")]
        public static int Release(Semaphore semaphore)
        {
            Report.Before(ApiTable.SemaphoreRelease, semaphore);
            return semaphore.Release();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Semaphore", "Release")]
        public static int Release(Semaphore semaphore, int releaseCount)
        {
            Report.Before(ApiTable.SemaphoreRelease, semaphore);
            return semaphore.Release(releaseCount);
        }
    }

    // Replaces calls that name System.Threading.AutoResetEvent through "System.Private.CoreLib".
    public static unsafe class AutoResetEventWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.AutoResetEvent", ".ctor")]
        public static AutoResetEvent Ctor(bool initialState)
        {
            Report.Before(ApiTable.AutoResetEventCtor, null);
            return new AutoResetEvent(initialState);
        }
    }

    // Replaces calls that name System.Threading.ManualResetEvent through "System.Private.CoreLib".
    public static unsafe class ManualResetEventWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.ManualResetEvent", ".ctor")]
        public static ManualResetEvent Ctor(bool initialState)
        {
            Report.Before(ApiTable.ManualResetEventCtor, null);
            return new ManualResetEvent(initialState);
        }
    }

    // Replaces calls that name System.Threading.Interlocked through "System.Private.CoreLib".
    public static unsafe class InterlockedWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Increment")]
        public static int Increment(ref int location)
        {
            Report.Location(ApiTable.InterlockedIncrement, in location);
            return Interlocked.Increment(ref location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Increment")]
        public static long Increment(ref long location)
        {
            Report.Location(ApiTable.InterlockedIncrement, in location);
            return Interlocked.Increment(ref location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Increment")]
        public static uint Increment(ref uint location)
        {
            Report.Location(ApiTable.InterlockedIncrement, in location);
            return Interlocked.Increment(ref location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Increment")]
        public static ulong Increment(ref ulong location)
        {
            Report.Location(ApiTable.InterlockedIncrement, in location);
            return Interlocked.Increment(ref location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Decrement")]
        public static int Decrement(ref int location)
        {
            Report.Location(ApiTable.InterlockedDecrement, in location);
            return Interlocked.Decrement(ref location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Decrement")]
        public static long Decrement(ref long location)
        {
            Report.Location(ApiTable.InterlockedDecrement, in location);
            return Interlocked.Decrement(ref location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Decrement")]
        public static uint Decrement(ref uint location)
        {
            Report.Location(ApiTable.InterlockedDecrement, in location);
            return Interlocked.Decrement(ref location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Decrement")]
        public static ulong Decrement(ref ulong location)
        {
            Report.Location(ApiTable.InterlockedDecrement, in location);
            return Interlocked.Decrement(ref location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Add")]
        public static int Add(ref int location1, int value)
        {
            Report.Location(ApiTable.InterlockedAdd, in location1);
            return Interlocked.Add(ref location1, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Add")]
        public static long Add(ref long location1, long value)
        {
            Report.Location(ApiTable.InterlockedAdd, in location1);
            return Interlocked.Add(ref location1, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Add")]
        public static uint Add(ref uint location1, uint value)
        {
            Report.Location(ApiTable.InterlockedAdd, in location1);
            return Interlocked.Add(ref location1, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Add")]
        public static ulong Add(ref ulong location1, ulong value)
        {
            Report.Location(ApiTable.InterlockedAdd, in location1);
            return Interlocked.Add(ref location1, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Exchange")]
        public static int Exchange(ref int location1, int value)
        {
            Report.Location(ApiTable.InterlockedExchange, in location1);
            return Interlocked.Exchange(ref location1, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Exchange")]
        public static long Exchange(ref long location1, long value)
        {
            Report.Location(ApiTable.InterlockedExchange, in location1);
            return Interlocked.Exchange(ref location1, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Exchange")]
        public static uint Exchange(ref uint location1, uint value)
        {
            Report.Location(ApiTable.InterlockedExchange, in location1);
            return Interlocked.Exchange(ref location1, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Exchange")]
        public static ulong Exchange(ref ulong location1, ulong value)
        {
            Report.Location(ApiTable.InterlockedExchange, in location1);
            return Interlocked.Exchange(ref location1, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Exchange")]
        public static float Exchange(ref float location1, float value)
        {
            Report.Location(ApiTable.InterlockedExchange, in location1);
            return Interlocked.Exchange(ref location1, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Exchange")]
        public static double Exchange(ref double location1, double value)
        {
            Report.Location(ApiTable.InterlockedExchange, in location1);
            return Interlocked.Exchange(ref location1, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Exchange")]
        public static nint Exchange(ref nint location1, nint value)
        {
            Report.Location(ApiTable.InterlockedExchange, in location1);
            return Interlocked.Exchange(ref location1, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Exchange")]
        public static nuint Exchange(ref nuint location1, nuint value)
        {
            Report.Location(ApiTable.InterlockedExchange, in location1);
            return Interlocked.Exchange(ref location1, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Exchange")]
        public static object? Exchange(ref object? location1, object? value)
        {
            Report.Location(ApiTable.InterlockedExchange, in location1);
            return Interlocked.Exchange(ref location1, value);
        }

#if NET9_0_OR_GREATER
        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Exchange")]
        public static T Exchange<T>(ref T location1, T value)
        {
            Report.Location(ApiTable.InterlockedExchange, in location1);
            return Interlocked.Exchange<T>(ref location1, value);
        }
#endif

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "CompareExchange")]
        public static int CompareExchange(ref int location1, int value, int comparand)
        {
            Report.Location(ApiTable.InterlockedCompareExchange, in location1);
            return Interlocked.CompareExchange(ref location1, value, comparand);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "CompareExchange")]
        public static long CompareExchange(ref long location1, long value, long comparand)
        {
            Report.Location(ApiTable.InterlockedCompareExchange, in location1);
            return Interlocked.CompareExchange(ref location1, value, comparand);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "CompareExchange")]
        public static uint CompareExchange(ref uint location1, uint value, uint comparand)
        {
            Report.Location(ApiTable.InterlockedCompareExchange, in location1);
            return Interlocked.CompareExchange(ref location1, value, comparand);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "CompareExchange")]
        public static ulong CompareExchange(ref ulong location1, ulong value, ulong comparand)
        {
            Report.Location(ApiTable.InterlockedCompareExchange, in location1);
            return Interlocked.CompareExchange(ref location1, value, comparand);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "CompareExchange")]
        public static float CompareExchange(ref float location1, float value, float comparand)
        {
            Report.Location(ApiTable.InterlockedCompareExchange, in location1);
            return Interlocked.CompareExchange(ref location1, value, comparand);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "CompareExchange")]
        public static double CompareExchange(ref double location1, double value, double comparand)
        {
            Report.Location(ApiTable.InterlockedCompareExchange, in location1);
            return Interlocked.CompareExchange(ref location1, value, comparand);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "CompareExchange")]
        public static nint CompareExchange(ref nint location1, nint value, nint comparand)
        {
            Report.Location(ApiTable.InterlockedCompareExchange, in location1);
            return Interlocked.CompareExchange(ref location1, value, comparand);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "CompareExchange")]
        public static nuint CompareExchange(ref nuint location1, nuint value, nuint comparand)
        {
            Report.Location(ApiTable.InterlockedCompareExchange, in location1);
            return Interlocked.CompareExchange(ref location1, value, comparand);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "CompareExchange")]
        public static object? CompareExchange(ref object? location1, object? value, object? comparand)
        {
            Report.Location(ApiTable.InterlockedCompareExchange, in location1);
            return Interlocked.CompareExchange(ref location1, value, comparand);
        }

#if NET9_0_OR_GREATER
        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "CompareExchange")]
        public static T CompareExchange<T>(ref T location1, T value, T comparand)
        {
            Report.Location(ApiTable.InterlockedCompareExchange, in location1);
            return Interlocked.CompareExchange<T>(ref location1, value, comparand);
        }
#endif

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Read")]
        public static long Read(ref long location)
        {
            Report.Location(ApiTable.InterlockedRead, in location);
            return Interlocked.Read(ref location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Read")]
        public static ulong Read(ref ulong location)
        {
            Report.Location(ApiTable.InterlockedRead, in location);
            return Interlocked.Read(ref location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "And")]
        public static int And(ref int location1, int value)
        {
            Report.Location(ApiTable.InterlockedAnd, in location1);
            return Interlocked.And(ref location1, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "And")]
        public static long And(ref long location1, long value)
        {
            Report.Location(ApiTable.InterlockedAnd, in location1);
            return Interlocked.And(ref location1, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "And")]
        public static uint And(ref uint location1, uint value)
        {
            Report.Location(ApiTable.InterlockedAnd, in location1);
            return Interlocked.And(ref location1, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "And")]
        public static ulong And(ref ulong location1, ulong value)
        {
            Report.Location(ApiTable.InterlockedAnd, in location1);
            return Interlocked.And(ref location1, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Or")]
        public static int Or(ref int location1, int value)
        {
            Report.Location(ApiTable.InterlockedOr, in location1);
            return Interlocked.Or(ref location1, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Or")]
        public static long Or(ref long location1, long value)
        {
            Report.Location(ApiTable.InterlockedOr, in location1);
            return Interlocked.Or(ref location1, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Or")]
        public static uint Or(ref uint location1, uint value)
        {
            Report.Location(ApiTable.InterlockedOr, in location1);
            return Interlocked.Or(ref location1, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "Or")]
        public static ulong Or(ref ulong location1, ulong value)
        {
            Report.Location(ApiTable.InterlockedOr, in location1);
            return Interlocked.Or(ref location1, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Interlocked", "MemoryBarrier")]
        public static void MemoryBarrier()
        {
            Report.Before(ApiTable.InterlockedMemoryBarrier, null);
            Interlocked.MemoryBarrier();
        }
    }

    // Replaces calls that name System.Threading.Volatile through "System.Private.CoreLib".
    public static unsafe class VolatileWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Read")]
        public static bool Read(ref readonly bool location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Read")]
        public static byte Read(ref readonly byte location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Read")]
        public static sbyte Read(ref readonly sbyte location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Read")]
        public static short Read(ref readonly short location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Read")]
        public static ushort Read(ref readonly ushort location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Read")]
        public static int Read(ref readonly int location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Read")]
        public static uint Read(ref readonly uint location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Read")]
        public static long Read(ref readonly long location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Read")]
        public static ulong Read(ref readonly ulong location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Read")]
        public static float Read(ref readonly float location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Read")]
        public static double Read(ref readonly double location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Read")]
        public static nint Read(ref readonly nint location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Read")]
        public static nuint Read(ref readonly nuint location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Read")]
        public static T Read<T>(ref readonly T location) where T : class?
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read<T>(in location);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Write")]
        public static void Write(ref bool location, bool value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Write")]
        public static void Write(ref byte location, byte value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Write")]
        public static void Write(ref sbyte location, sbyte value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Write")]
        public static void Write(ref short location, short value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Write")]
        public static void Write(ref ushort location, ushort value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Write")]
        public static void Write(ref int location, int value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Write")]
        public static void Write(ref uint location, uint value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Write")]
        public static void Write(ref long location, long value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Write")]
        public static void Write(ref ulong location, ulong value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Write")]
        public static void Write(ref float location, float value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Write")]
        public static void Write(ref double location, double value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Write")]
        public static void Write(ref nint location, nint value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Write")]
        public static void Write(ref nuint location, nuint value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "Write")]
        public static void Write<T>(ref T location, T value) where T : class?
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write<T>(ref location, value);
        }

        private static class ReadBarrierOf
        {
            internal static readonly delegate*<void> Original = (delegate*<void>)Newer.Method(typeof(Volatile), "ReadBarrier");
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "ReadBarrier")]
        public static void ReadBarrier()
        {
            Report.Before(ApiTable.VolatileReadBarrier, null);
            ReadBarrierOf.Original();
        }

        private static class WriteBarrierOf
        {
            internal static readonly delegate*<void> Original = (delegate*<void>)Newer.Method(typeof(Volatile), "WriteBarrier");
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Volatile", "WriteBarrier")]
        public static void WriteBarrier()
        {
            Report.Before(ApiTable.VolatileWriteBarrier, null);
            WriteBarrierOf.Original();
        }
    }

    // Replaces calls that name System.Threading.ThreadPool through "System.Private.CoreLib".
    public static unsafe class ThreadPoolWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.ThreadPool", "QueueUserWorkItem")]
        public static bool QueueUserWorkItem(WaitCallback callBack)
        {
            Report.Before(ApiTable.ThreadPoolQueueUserWorkItem, null);
            return ThreadPool.QueueUserWorkItem(callBack);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ThreadPool", "QueueUserWorkItem")]
        public static bool QueueUserWorkItem(WaitCallback callBack, object? state)
        {
            Report.Before(ApiTable.ThreadPoolQueueUserWorkItem, null);
            return ThreadPool.QueueUserWorkItem(callBack, state);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ThreadPool", "QueueUserWorkItem")]
        public static bool QueueUserWorkItem<TState>(Action<TState> callBack, TState state, bool preferLocal)
        {
            Report.Before(ApiTable.ThreadPoolQueueUserWorkItem, null);
            return ThreadPool.QueueUserWorkItem<TState>(callBack, state, preferLocal);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ThreadPool", "UnsafeQueueUserWorkItem")]
        public static bool UnsafeQueueUserWorkItem(WaitCallback callBack, object? state)
        {
            Report.Before(ApiTable.ThreadPoolUnsafeQueueUserWorkItem, null);
            return ThreadPool.UnsafeQueueUserWorkItem(callBack, state);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ThreadPool", "UnsafeQueueUserWorkItem")]
        public static bool UnsafeQueueUserWorkItem(IThreadPoolWorkItem callBack, bool preferLocal)
        {
            Report.Before(ApiTable.ThreadPoolUnsafeQueueUserWorkItem, null);
            return ThreadPool.UnsafeQueueUserWorkItem(callBack, preferLocal);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ThreadPool", "UnsafeQueueUserWorkItem")]
        public static bool UnsafeQueueUserWorkItem<TState>(Action<TState> callBack, TState state, bool preferLocal)
        {
            Report.Before(ApiTable.ThreadPoolUnsafeQueueUserWorkItem, null);
            return ThreadPool.UnsafeQueueUserWorkItem<TState>(callBack, state, preferLocal);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ThreadPool", "RegisterWaitForSingleObject")]
        public static RegisteredWaitHandle RegisterWaitForSingleObject(WaitHandle waitObject, WaitOrTimerCallback callBack, object? state, int millisecondsTimeOutInterval, bool executeOnlyOnce)
        {
            Report.Before(ApiTable.ThreadPoolRegisterWaitForSingleObject, waitObject);
            return ThreadPool.RegisterWaitForSingleObject(waitObject, callBack, state, millisecondsTimeOutInterval, executeOnlyOnce);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ThreadPool", "RegisterWaitForSingleObject")]
        public static RegisteredWaitHandle RegisterWaitForSingleObject(WaitHandle waitObject, WaitOrTimerCallback callBack, object? state, long millisecondsTimeOutInterval, bool executeOnlyOnce)
        {
            Report.Before(ApiTable.ThreadPoolRegisterWaitForSingleObject, waitObject);
            return ThreadPool.RegisterWaitForSingleObject(waitObject, callBack, state, millisecondsTimeOutInterval, executeOnlyOnce);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ThreadPool", "RegisterWaitForSingleObject")]
        public static RegisteredWaitHandle RegisterWaitForSingleObject(WaitHandle waitObject, WaitOrTimerCallback callBack, object? state, uint millisecondsTimeOutInterval, bool executeOnlyOnce)
        {
            Report.Before(ApiTable.ThreadPoolRegisterWaitForSingleObject, waitObject);
            return ThreadPool.RegisterWaitForSingleObject(waitObject, callBack, state, millisecondsTimeOutInterval, executeOnlyOnce);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.ThreadPool", "RegisterWaitForSingleObject")]
        public static RegisteredWaitHandle RegisterWaitForSingleObject(WaitHandle waitObject, WaitOrTimerCallback callBack, object? state, TimeSpan timeout, bool executeOnlyOnce)
        {
            Report.Before(ApiTable.ThreadPoolRegisterWaitForSingleObject, waitObject);
            return ThreadPool.RegisterWaitForSingleObject(waitObject, callBack, state, timeout, executeOnlyOnce);
        }
    }

    // Replaces calls that name System.Threading.Timer through "System.Private.CoreLib".
    public static unsafe class TimerWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.Timer", ".ctor")]
        public static Timer Ctor(TimerCallback callback)
        {
            Report.Before(ApiTable.TimerCtor, null);
            return new Timer(callback);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Timer", ".ctor")]
        public static Timer Ctor(TimerCallback callback, object? state, int dueTime, int period)
        {
            Report.Before(ApiTable.TimerCtor, null);
            return new Timer(callback, state, dueTime, period);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Timer", ".ctor")]
        public static Timer Ctor(TimerCallback callback, object? state, long dueTime, long period)
        {
            Report.Before(ApiTable.TimerCtor, null);
            return new Timer(callback, state, dueTime, period);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Timer", ".ctor")]
        public static Timer Ctor(TimerCallback callback, object? state, uint dueTime, uint period)
        {
            Report.Before(ApiTable.TimerCtor, null);
            return new Timer(callback, state, dueTime, period);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Timer", ".ctor")]
        public static Timer Ctor(TimerCallback callback, object? state, TimeSpan dueTime, TimeSpan period)
        {
            Report.Before(ApiTable.TimerCtor, null);
            return new Timer(callback, state, dueTime, period);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Timer", "Change")]
        public static bool Change(Timer timer, int dueTime, int period)
        {
            Report.Before(ApiTable.TimerChange, timer);
            return timer.Change(dueTime, period);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Timer", "Change")]
        public static bool Change(Timer timer, long dueTime, long period)
        {
            Report.Before(ApiTable.TimerChange, timer);
            return timer.Change(dueTime, period);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Timer", "Change")]
        public static bool Change(Timer timer, uint dueTime, uint period)
        {
            Report.Before(ApiTable.TimerChange, timer);
            return timer.Change(dueTime, period);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Timer", "Change")]
        public static bool Change(Timer timer, TimeSpan dueTime, TimeSpan period)
        {
            Report.Before(ApiTable.TimerChange, timer);
            return timer.Change(dueTime, period);
        }
    }

    // Replaces calls that name System.Threading.CancellationTokenSource through "System.Private.CoreLib".
    public static unsafe class CancellationTokenSourceWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.CancellationTokenSource", "Cancel")]
        public static void Cancel(CancellationTokenSource source)
        {
            Report.Before(ApiTable.CancellationTokenSourceCancel, source);
            source.Cancel();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.CancellationTokenSource", "Cancel")]
        public static void Cancel(CancellationTokenSource source, bool throwOnFirstException)
        {
            Report.Before(ApiTable.CancellationTokenSourceCancel, source);
            source.Cancel(throwOnFirstException);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.CancellationTokenSource", "CancelAfter")]
        public static void CancelAfter(CancellationTokenSource source, int millisecondsDelay)
        {
            Report.Before(ApiTable.CancellationTokenSourceCancelAfter, source);
            source.CancelAfter(millisecondsDelay);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.CancellationTokenSource", "CancelAfter")]
        public static void CancelAfter(CancellationTokenSource source, TimeSpan delay)
        {
            Report.Before(ApiTable.CancellationTokenSourceCancelAfter, source);
            source.CancelAfter(delay);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.CancellationTokenSource", ".ctor")]
        public static CancellationTokenSource Ctor()
        {
            Report.Before(ApiTable.CancellationTokenSourceCtor, null);
            return new CancellationTokenSource();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.CancellationTokenSource", ".ctor")]
        public static CancellationTokenSource Ctor(int millisecondsDelay)
        {
            Report.Before(ApiTable.CancellationTokenSourceCtor, null);
            return new CancellationTokenSource(millisecondsDelay);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.CancellationTokenSource", ".ctor")]
        public static CancellationTokenSource Ctor(TimeSpan delay)
        {
            Report.Before(ApiTable.CancellationTokenSourceCtor, null);
            return new CancellationTokenSource(delay);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.CancellationTokenSource", ".ctor")]
        public static CancellationTokenSource Ctor(TimeSpan delay, TimeProvider timeProvider)
        {
            Report.Before(ApiTable.CancellationTokenSourceCtor, null);
            return new CancellationTokenSource(delay, timeProvider);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.CancellationTokenSource", "CreateLinkedTokenSource")]
        public static CancellationTokenSource CreateLinkedTokenSource(CancellationToken token)
        {
            Report.Before(ApiTable.CancellationTokenSourceCreateLinkedTokenSource, null);
            return CancellationTokenSource.CreateLinkedTokenSource(token);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.CancellationTokenSource", "CreateLinkedTokenSource")]
        public static CancellationTokenSource CreateLinkedTokenSource(CancellationToken token1, CancellationToken token2)
        {
            Report.Before(ApiTable.CancellationTokenSourceCreateLinkedTokenSource, null);
            return CancellationTokenSource.CreateLinkedTokenSource(token1, token2);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.CancellationTokenSource", "CreateLinkedTokenSource")]
        public static CancellationTokenSource CreateLinkedTokenSource(params CancellationToken[] tokens)
        {
            Report.Before(ApiTable.CancellationTokenSourceCreateLinkedTokenSource, null);
            return CancellationTokenSource.CreateLinkedTokenSource(tokens);
        }
    }

    // Replaces calls that name System.Threading.Tasks.Task through "System.Private.CoreLib".
    public static unsafe class TaskWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "Run")]
        public static Task Run(Action action)
        {
            Report.Before(ApiTable.TaskRun, null);
            return Task.Run(action);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "Run")]
        public static Task Run(Action action, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskRun, null);
            return Task.Run(action, cancellationToken);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "Run")]
        public static Task Run(Func<Task?> function)
        {
            Report.Before(ApiTable.TaskRun, null);
            return Task.Run(function);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "Run")]
        public static Task Run(Func<Task?> function, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskRun, null);
            return Task.Run(function, cancellationToken);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "Run")]
        public static Task<TResult> Run<TResult>(Func<TResult> function)
        {
            Report.Before(ApiTable.TaskRun, null);
            return Task.Run<TResult>(function);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "Run")]
        public static Task<TResult> Run<TResult>(Func<TResult> function, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskRun, null);
            return Task.Run<TResult>(function, cancellationToken);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "Run")]
        public static Task<TResult> Run<TResult>(Func<Task<TResult>?> function)
        {
            Report.Before(ApiTable.TaskRun, null);
            return Task.Run<TResult>(function);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "Run")]
        public static Task<TResult> Run<TResult>(Func<Task<TResult>?> function, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskRun, null);
            return Task.Run<TResult>(function, cancellationToken);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "Start")]
        public static void Start(Task task)
        {
            Report.Before(ApiTable.TaskStart, task);
            task.Start();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "Start")]
        public static void Start(Task task, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.TaskStart, task);
            task.Start(scheduler);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "Wait")]
        public static void Wait(Task task)
        {
            Report.Before(ApiTable.TaskWait, task);
            task.Wait();
            Report.After(ApiTable.TaskWait, task);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "Wait")]
        public static bool Wait(Task task, int millisecondsTimeout)
        {
            Report.Before(ApiTable.TaskWait, task);
            bool result = task.Wait(millisecondsTimeout);
            Report.After(ApiTable.TaskWait, task);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "Wait")]
        public static bool Wait(Task task, TimeSpan timeout)
        {
            Report.Before(ApiTable.TaskWait, task);
            bool result = task.Wait(timeout);
            Report.After(ApiTable.TaskWait, task);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "Wait")]
        public static void Wait(Task task, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskWait, task);
            task.Wait(cancellationToken);
            Report.After(ApiTable.TaskWait, task);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "Wait")]
        public static bool Wait(Task task, int millisecondsTimeout, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskWait, task);
            bool result = task.Wait(millisecondsTimeout, cancellationToken);
            Report.After(ApiTable.TaskWait, task);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "WaitAll")]
        public static void WaitAll(Task[] tasks)
        {
            Report.Before(ApiTable.TaskWaitAll, null);
            Task.WaitAll(tasks);
            Report.After(ApiTable.TaskWaitAll, null);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "WaitAll")]
        public static bool WaitAll(Task[] tasks, int millisecondsTimeout)
        {
            Report.Before(ApiTable.TaskWaitAll, null);
            bool result = Task.WaitAll(tasks, millisecondsTimeout);
            Report.After(ApiTable.TaskWaitAll, null);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "WaitAll")]
        public static bool WaitAll(Task[] tasks, TimeSpan timeout)
        {
            Report.Before(ApiTable.TaskWaitAll, null);
            bool result = Task.WaitAll(tasks, timeout);
            Report.After(ApiTable.TaskWaitAll, null);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "WaitAll")]
        public static void WaitAll(Task[] tasks, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskWaitAll, null);
            Task.WaitAll(tasks, cancellationToken);
            Report.After(ApiTable.TaskWaitAll, null);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "WaitAll")]
        public static bool WaitAll(Task[] tasks, int millisecondsTimeout, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskWaitAll, null);
            bool result = Task.WaitAll(tasks, millisecondsTimeout, cancellationToken);
            Report.After(ApiTable.TaskWaitAll, null);
            return result;
        }

        private static class WaitAllOfReadOnlySpanTask
        {
            internal static readonly delegate*<ReadOnlySpan<Task>, void> Original = (delegate*<ReadOnlySpan<Task>, void>)Newer.Method(typeof(Task), "WaitAll", typeof(ReadOnlySpan<Task>));
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "WaitAll")]
        public static void WaitAll(ReadOnlySpan<Task> tasks)
        {
            Report.Before(ApiTable.TaskWaitAll, null);
            WaitAllOfReadOnlySpanTask.Original(tasks);
            Report.After(ApiTable.TaskWaitAll, null);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "WaitAny")]
        public static int WaitAny(Task[] tasks)
        {
            Report.Before(ApiTable.TaskWaitAny, null);
            int result = Task.WaitAny(tasks);
            Report.After(ApiTable.TaskWaitAny, null);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "WaitAny")]
        public static int WaitAny(Task[] tasks, int millisecondsTimeout)
        {
            Report.Before(ApiTable.TaskWaitAny, null);
            int result = Task.WaitAny(tasks, millisecondsTimeout);
            Report.After(ApiTable.TaskWaitAny, null);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "WaitAny")]
        public static int WaitAny(Task[] tasks, TimeSpan timeout)
        {
            Report.Before(ApiTable.TaskWaitAny, null);
            int result = Task.WaitAny(tasks, timeout);
            Report.After(ApiTable.TaskWaitAny, null);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "WaitAny")]
        public static int WaitAny(Task[] tasks, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskWaitAny, null);
            int result = Task.WaitAny(tasks, cancellationToken);
            Report.After(ApiTable.TaskWaitAny, null);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "WaitAny")]
        public static int WaitAny(Task[] tasks, int millisecondsTimeout, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskWaitAny, null);
            int result = Task.WaitAny(tasks, millisecondsTimeout, cancellationToken);
            Report.After(ApiTable.TaskWaitAny, null);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task ContinueWith(Task task, Action<Task> continuationAction)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith(continuationAction);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task ContinueWith(Task task, Action<Task> continuationAction, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith(continuationAction, cancellationToken);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task ContinueWith(Task task, Action<Task> continuationAction, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith(continuationAction, scheduler);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task ContinueWith(Task task, Action<Task> continuationAction, TaskContinuationOptions continuationOptions)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith(continuationAction, continuationOptions);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task ContinueWith(Task task, Action<Task> continuationAction, CancellationToken cancellationToken, TaskContinuationOptions continuationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith(continuationAction, cancellationToken, continuationOptions, scheduler);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task ContinueWith(Task task, Action<Task, object?> continuationAction, object? state)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith(continuationAction, state);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task ContinueWith(Task task, Action<Task, object?> continuationAction, object? state, CancellationToken cancellationToken, TaskContinuationOptions continuationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith(continuationAction, state, cancellationToken, continuationOptions, scheduler);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TNewResult>(Task task, Func<Task, TNewResult> continuationFunction)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TNewResult>(Task task, Func<Task, TNewResult> continuationFunction, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, cancellationToken);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TNewResult>(Task task, Func<Task, TNewResult> continuationFunction, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, scheduler);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TNewResult>(Task task, Func<Task, TNewResult> continuationFunction, TaskContinuationOptions continuationOptions)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, continuationOptions);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TNewResult>(Task task, Func<Task, TNewResult> continuationFunction, CancellationToken cancellationToken, TaskContinuationOptions continuationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, cancellationToken, continuationOptions, scheduler);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TNewResult>(Task task, Func<Task, object?, TNewResult> continuationFunction, object? state)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, state);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TNewResult>(Task task, Func<Task, object?, TNewResult> continuationFunction, object? state, CancellationToken cancellationToken, TaskContinuationOptions continuationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, state, cancellationToken, continuationOptions, scheduler);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "WhenAll")]
        public static Task WhenAll(params Task[] tasks)
        {
            Report.Before(ApiTable.TaskWhenAll, null);
            return Task.WhenAll(tasks);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "WhenAll")]
        public static Task WhenAll(IEnumerable<Task> tasks)
        {
            Report.Before(ApiTable.TaskWhenAll, null);
            return Task.WhenAll(tasks);
        }

        private static class WhenAllOfReadOnlySpanTask
        {
            internal static readonly delegate*<ReadOnlySpan<Task>, Task> Original = (delegate*<ReadOnlySpan<Task>, Task>)Newer.Method(typeof(Task), "WhenAll", typeof(ReadOnlySpan<Task>));
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "WhenAll")]
        public static Task WhenAll(ReadOnlySpan<Task> tasks)
        {
            Report.Before(ApiTable.TaskWhenAll, null);
            return WhenAllOfReadOnlySpanTask.Original(tasks);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "WhenAll")]
        public static Task<TResult[]> WhenAll<TResult>(params Task<TResult>[] tasks)
        {
            Report.Before(ApiTable.TaskWhenAll, null);
            return Task.WhenAll<TResult>(tasks);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "WhenAll")]
        public static Task<TResult[]> WhenAll<TResult>(IEnumerable<Task<TResult>> tasks)
        {
            Report.Before(ApiTable.TaskWhenAll, null);
            return Task.WhenAll<TResult>(tasks);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "WhenAny")]
        public static Task<Task> WhenAny(params Task[] tasks)
        {
            Report.Before(ApiTable.TaskWhenAny, null);
            return Task.WhenAny(tasks);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "WhenAny")]
        public static Task<Task> WhenAny(IEnumerable<Task> tasks)
        {
            Report.Before(ApiTable.TaskWhenAny, null);
            return Task.WhenAny(tasks);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "WhenAny")]
        public static Task<Task> WhenAny(Task task1, Task task2)
        {
            Report.Before(ApiTable.TaskWhenAny, null);
            return Task.WhenAny(task1, task2);
        }

        private static class WhenAnyOfReadOnlySpanTask
        {
            internal static readonly delegate*<ReadOnlySpan<Task>, Task<Task>> Original = (delegate*<ReadOnlySpan<Task>, Task<Task>>)Newer.Method(typeof(Task), "WhenAny", typeof(ReadOnlySpan<Task>));
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "WhenAny")]
        public static Task<Task> WhenAny(ReadOnlySpan<Task> tasks)
        {
            Report.Before(ApiTable.TaskWhenAny, null);
            return WhenAnyOfReadOnlySpanTask.Original(tasks);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "WhenAny")]
        public static Task<Task<TResult>> WhenAny<TResult>(params Task<TResult>[] tasks)
        {
            Report.Before(ApiTable.TaskWhenAny, null);
            return Task.WhenAny<TResult>(tasks);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "WhenAny")]
        public static Task<Task<TResult>> WhenAny<TResult>(IEnumerable<Task<TResult>> tasks)
        {
            Report.Before(ApiTable.TaskWhenAny, null);
            return Task.WhenAny<TResult>(tasks);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task", "WhenAny")]
        public static Task<Task<TResult>> WhenAny<TResult>(Task<TResult> task1, Task<TResult> task2)
        {
            Report.Before(ApiTable.TaskWhenAny, null);
            return Task.WhenAny<TResult>(task1, task2);
        }
    }

    // Replaces calls that name System.Threading.Tasks.TaskFactory through "System.Private.CoreLib".
    public static unsafe class TaskFactoryWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task StartNew(TaskFactory factory, Action action)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew(action);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task StartNew(TaskFactory factory, Action action, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew(action, cancellationToken);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task StartNew(TaskFactory factory, Action action, TaskCreationOptions creationOptions)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew(action, creationOptions);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task StartNew(TaskFactory factory, Action action, CancellationToken cancellationToken, TaskCreationOptions creationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew(action, cancellationToken, creationOptions, scheduler);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task StartNew(TaskFactory factory, Action<object?> action, object? state)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew(action, state);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task StartNew(TaskFactory factory, Action<object?> action, object? state, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew(action, state, cancellationToken);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task StartNew(TaskFactory factory, Action<object?> action, object? state, TaskCreationOptions creationOptions)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew(action, state, creationOptions);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task StartNew(TaskFactory factory, Action<object?> action, object? state, CancellationToken cancellationToken, TaskCreationOptions creationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew(action, state, cancellationToken, creationOptions, scheduler);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task<TResult> StartNew<TResult>(TaskFactory factory, Func<TResult> function)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew<TResult>(function);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task<TResult> StartNew<TResult>(TaskFactory factory, Func<TResult> function, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew<TResult>(function, cancellationToken);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task<TResult> StartNew<TResult>(TaskFactory factory, Func<TResult> function, TaskCreationOptions creationOptions)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew<TResult>(function, creationOptions);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task<TResult> StartNew<TResult>(TaskFactory factory, Func<TResult> function, CancellationToken cancellationToken, TaskCreationOptions creationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew<TResult>(function, cancellationToken, creationOptions, scheduler);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task<TResult> StartNew<TResult>(TaskFactory factory, Func<object?, TResult> function, object? state)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew<TResult>(function, state);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task<TResult> StartNew<TResult>(TaskFactory factory, Func<object?, TResult> function, object? state, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew<TResult>(function, state, cancellationToken);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task<TResult> StartNew<TResult>(TaskFactory factory, Func<object?, TResult> function, object? state, TaskCreationOptions creationOptions)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew<TResult>(function, state, creationOptions);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task<TResult> StartNew<TResult>(TaskFactory factory, Func<object?, TResult> function, object? state, CancellationToken cancellationToken, TaskCreationOptions creationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew<TResult>(function, state, cancellationToken, creationOptions, scheduler);
        }
    }

    // Replaces calls that name System.Threading.Tasks.Task`1 through "System.Private.CoreLib".
    public static unsafe class Task1Wrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task`1", "get_Result")]
        public static TResult get_Result<TResult>(Task<TResult> task)
        {
            Report.Before(ApiTable.Task1GetResult, task);
            TResult result = task.Result;
            Report.After(ApiTable.Task1GetResult, task);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task ContinueWith<TResult>(Task<TResult> task, Action<Task<TResult>> continuationAction)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith(continuationAction);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task ContinueWith<TResult>(Task<TResult> task, Action<Task<TResult>> continuationAction, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith(continuationAction, cancellationToken);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task ContinueWith<TResult>(Task<TResult> task, Action<Task<TResult>> continuationAction, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith(continuationAction, scheduler);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task ContinueWith<TResult>(Task<TResult> task, Action<Task<TResult>> continuationAction, TaskContinuationOptions continuationOptions)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith(continuationAction, continuationOptions);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task ContinueWith<TResult>(Task<TResult> task, Action<Task<TResult>> continuationAction, CancellationToken cancellationToken, TaskContinuationOptions continuationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith(continuationAction, cancellationToken, continuationOptions, scheduler);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task ContinueWith<TResult>(Task<TResult> task, Action<Task<TResult>, object?> continuationAction, object? state)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith(continuationAction, state);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task ContinueWith<TResult>(Task<TResult> task, Action<Task<TResult>, object?> continuationAction, object? state, CancellationToken cancellationToken, TaskContinuationOptions continuationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith(continuationAction, state, cancellationToken, continuationOptions, scheduler);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TResult, TNewResult>(Task<TResult> task, Func<Task<TResult>, TNewResult> continuationFunction)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TResult, TNewResult>(Task<TResult> task, Func<Task<TResult>, TNewResult> continuationFunction, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, cancellationToken);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TResult, TNewResult>(Task<TResult> task, Func<Task<TResult>, TNewResult> continuationFunction, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, scheduler);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TResult, TNewResult>(Task<TResult> task, Func<Task<TResult>, TNewResult> continuationFunction, TaskContinuationOptions continuationOptions)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, continuationOptions);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TResult, TNewResult>(Task<TResult> task, Func<Task<TResult>, TNewResult> continuationFunction, CancellationToken cancellationToken, TaskContinuationOptions continuationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, cancellationToken, continuationOptions, scheduler);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TResult, TNewResult>(Task<TResult> task, Func<Task<TResult>, object?, TNewResult> continuationFunction, object? state)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, state);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TResult, TNewResult>(Task<TResult> task, Func<Task<TResult>, object?, TNewResult> continuationFunction, object? state, CancellationToken cancellationToken, TaskContinuationOptions continuationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, state, cancellationToken, continuationOptions, scheduler);
        }
    }

    // Replaces calls that name System.Threading.Tasks.TaskCompletionSource`1 through "System.Private.CoreLib".
    public static unsafe class TaskCompletionSource1Wrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource`1", ".ctor")]
        public static TaskCompletionSource<TResult> Ctor<TResult>()
        {
            Report.Before(ApiTable.TaskCompletionSource1Ctor, null);
            return new TaskCompletionSource<TResult>();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource`1", ".ctor")]
        public static TaskCompletionSource<TResult> Ctor<TResult>(object? state)
        {
            Report.Before(ApiTable.TaskCompletionSource1Ctor, null);
            return new TaskCompletionSource<TResult>(state);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource`1", ".ctor")]
        public static TaskCompletionSource<TResult> Ctor<TResult>(TaskCreationOptions creationOptions)
        {
            Report.Before(ApiTable.TaskCompletionSource1Ctor, null);
            return new TaskCompletionSource<TResult>(creationOptions);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource`1", ".ctor")]
        public static TaskCompletionSource<TResult> Ctor<TResult>(object? state, TaskCreationOptions creationOptions)
        {
            Report.Before(ApiTable.TaskCompletionSource1Ctor, null);
            return new TaskCompletionSource<TResult>(state, creationOptions);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource`1", "SetResult")]
        public static void SetResult<TResult>(TaskCompletionSource<TResult> source, TResult result)
        {
            Report.Before(ApiTable.TaskCompletionSource1SetResult, TaskSubjects.TaskOf(source));
            source.SetResult(result);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource`1", "TrySetResult")]
        public static bool TrySetResult<TResult>(TaskCompletionSource<TResult> source, TResult result)
        {
            Report.Before(ApiTable.TaskCompletionSource1TrySetResult, TaskSubjects.TaskOf(source));
            return source.TrySetResult(result);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource`1", "SetException")]
        public static void SetException<TResult>(TaskCompletionSource<TResult> source, Exception exception)
        {
            Report.Before(ApiTable.TaskCompletionSource1SetException, TaskSubjects.TaskOf(source));
            source.SetException(exception);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource`1", "SetException")]
        public static void SetException<TResult>(TaskCompletionSource<TResult> source, IEnumerable<Exception> exceptions)
        {
            Report.Before(ApiTable.TaskCompletionSource1SetException, TaskSubjects.TaskOf(source));
            source.SetException(exceptions);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource`1", "TrySetException")]
        public static bool TrySetException<TResult>(TaskCompletionSource<TResult> source, Exception exception)
        {
            Report.Before(ApiTable.TaskCompletionSource1TrySetException, TaskSubjects.TaskOf(source));
            return source.TrySetException(exception);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource`1", "TrySetException")]
        public static bool TrySetException<TResult>(TaskCompletionSource<TResult> source, IEnumerable<Exception> exceptions)
        {
            Report.Before(ApiTable.TaskCompletionSource1TrySetException, TaskSubjects.TaskOf(source));
            return source.TrySetException(exceptions);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource`1", "SetCanceled")]
        public static void SetCanceled<TResult>(TaskCompletionSource<TResult> source)
        {
            Report.Before(ApiTable.TaskCompletionSource1SetCanceled, TaskSubjects.TaskOf(source));
            source.SetCanceled();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource`1", "SetCanceled")]
        public static void SetCanceled<TResult>(TaskCompletionSource<TResult> source, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskCompletionSource1SetCanceled, TaskSubjects.TaskOf(source));
            source.SetCanceled(cancellationToken);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource`1", "TrySetCanceled")]
        public static bool TrySetCanceled<TResult>(TaskCompletionSource<TResult> source)
        {
            Report.Before(ApiTable.TaskCompletionSource1TrySetCanceled, TaskSubjects.TaskOf(source));
            return source.TrySetCanceled();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource`1", "TrySetCanceled")]
        public static bool TrySetCanceled<TResult>(TaskCompletionSource<TResult> source, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskCompletionSource1TrySetCanceled, TaskSubjects.TaskOf(source));
            return source.TrySetCanceled(cancellationToken);
        }
    }

    // Replaces calls that name System.Threading.Tasks.TaskCompletionSource through "System.Private.CoreLib".
    public static unsafe class TaskCompletionSourceWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource", ".ctor")]
        public static TaskCompletionSource Ctor()
        {
            Report.Before(ApiTable.TaskCompletionSourceCtor, null);
            return new TaskCompletionSource();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource", ".ctor")]
        public static TaskCompletionSource Ctor(object? state)
        {
            Report.Before(ApiTable.TaskCompletionSourceCtor, null);
            return new TaskCompletionSource(state);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource", ".ctor")]
        public static TaskCompletionSource Ctor(TaskCreationOptions creationOptions)
        {
            Report.Before(ApiTable.TaskCompletionSourceCtor, null);
            return new TaskCompletionSource(creationOptions);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource", ".ctor")]
        public static TaskCompletionSource Ctor(object? state, TaskCreationOptions creationOptions)
        {
            Report.Before(ApiTable.TaskCompletionSourceCtor, null);
            return new TaskCompletionSource(state, creationOptions);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource", "SetResult")]
        public static void SetResult(TaskCompletionSource source)
        {
            Report.Before(ApiTable.TaskCompletionSourceSetResult, TaskSubjects.TaskOf(source));
            source.SetResult();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource", "TrySetResult")]
        public static bool TrySetResult(TaskCompletionSource source)
        {
            Report.Before(ApiTable.TaskCompletionSourceTrySetResult, TaskSubjects.TaskOf(source));
            return source.TrySetResult();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource", "SetException")]
        public static void SetException(TaskCompletionSource source, Exception exception)
        {
            Report.Before(ApiTable.TaskCompletionSourceSetException, TaskSubjects.TaskOf(source));
            source.SetException(exception);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource", "SetException")]
        public static void SetException(TaskCompletionSource source, IEnumerable<Exception> exceptions)
        {
            Report.Before(ApiTable.TaskCompletionSourceSetException, TaskSubjects.TaskOf(source));
            source.SetException(exceptions);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource", "TrySetException")]
        public static bool TrySetException(TaskCompletionSource source, Exception exception)
        {
            Report.Before(ApiTable.TaskCompletionSourceTrySetException, TaskSubjects.TaskOf(source));
            return source.TrySetException(exception);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource", "TrySetException")]
        public static bool TrySetException(TaskCompletionSource source, IEnumerable<Exception> exceptions)
        {
            Report.Before(ApiTable.TaskCompletionSourceTrySetException, TaskSubjects.TaskOf(source));
            return source.TrySetException(exceptions);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource", "SetCanceled")]
        public static void SetCanceled(TaskCompletionSource source)
        {
            Report.Before(ApiTable.TaskCompletionSourceSetCanceled, TaskSubjects.TaskOf(source));
            source.SetCanceled();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource", "SetCanceled")]
        public static void SetCanceled(TaskCompletionSource source, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskCompletionSourceSetCanceled, TaskSubjects.TaskOf(source));
            source.SetCanceled(cancellationToken);
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource", "TrySetCanceled")]
        public static bool TrySetCanceled(TaskCompletionSource source)
        {
            Report.Before(ApiTable.TaskCompletionSourceTrySetCanceled, TaskSubjects.TaskOf(source));
            return source.TrySetCanceled();
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.TaskCompletionSource", "TrySetCanceled")]
        public static bool TrySetCanceled(TaskCompletionSource source, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskCompletionSourceTrySetCanceled, TaskSubjects.TaskOf(source));
            return source.TrySetCanceled(cancellationToken);
        }
    }

    // Replaces calls that name System.Threading.Tasks.ValueTask`1 through "System.Private.CoreLib".
    public static unsafe class ValueTask1Wrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.ValueTask`1", "get_Result")]
        public static TResult get_Result<TResult>(ref ValueTask<TResult> valueTask)
        {
            Report.Before(ApiTable.ValueTask1GetResult, null);
            TResult result = valueTask.Result;
            Report.After(ApiTable.ValueTask1GetResult, null);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.ValueTask`1", "AsTask")]
        public static Task<TResult> AsTask<TResult>(ref ValueTask<TResult> valueTask)
        {
            Report.Before(ApiTable.ValueTask1AsTask, null);
            return valueTask.AsTask();
        }
    }

    // Replaces calls that name System.Threading.Tasks.ValueTask through "System.Private.CoreLib".
    public static unsafe class ValueTaskWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Threading.Tasks.ValueTask", "AsTask")]
        public static Task AsTask(ref ValueTask valueTask)
        {
            Report.Before(ApiTable.ValueTaskAsTask, null);
            return valueTask.AsTask();
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.TaskAwaiter through "System.Private.CoreLib".
    public static unsafe class TaskAwaiterWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.TaskAwaiter", "GetResult")]
        public static void GetResult(ref TaskAwaiter awaiter)
        {
            Report.Before(ApiTable.TaskAwaiterGetResult, TaskSubjects.TaskOf(ref awaiter));
            awaiter.GetResult();
            Report.After(ApiTable.TaskAwaiterGetResult, TaskSubjects.TaskOf(ref awaiter));
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.TaskAwaiter", "OnCompleted")]
        public static void OnCompleted(ref TaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.TaskAwaiterOnCompleted, TaskSubjects.TaskOf(ref awaiter));
            awaiter.OnCompleted(continuation);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.TaskAwaiter", "UnsafeOnCompleted")]
        public static void UnsafeOnCompleted(ref TaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.TaskAwaiterUnsafeOnCompleted, TaskSubjects.TaskOf(ref awaiter));
            awaiter.UnsafeOnCompleted(continuation);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.TaskAwaiter`1 through "System.Private.CoreLib".
    public static unsafe class TaskAwaiter1Wrapper
    {
        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.TaskAwaiter`1", "GetResult")]
        public static TResult GetResult<TResult>(ref TaskAwaiter<TResult> awaiter)
        {
            Report.Before(ApiTable.TaskAwaiter1GetResult, TaskSubjects.TaskOf(ref awaiter));
            TResult result = awaiter.GetResult();
            Report.After(ApiTable.TaskAwaiter1GetResult, TaskSubjects.TaskOf(ref awaiter));
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.TaskAwaiter`1", "OnCompleted")]
        public static void OnCompleted<TResult>(ref TaskAwaiter<TResult> awaiter, Action continuation)
        {
            Report.Before(ApiTable.TaskAwaiter1OnCompleted, TaskSubjects.TaskOf(ref awaiter));
            awaiter.OnCompleted(continuation);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.TaskAwaiter`1", "UnsafeOnCompleted")]
        public static void UnsafeOnCompleted<TResult>(ref TaskAwaiter<TResult> awaiter, Action continuation)
        {
            Report.Before(ApiTable.TaskAwaiter1UnsafeOnCompleted, TaskSubjects.TaskOf(ref awaiter));
            awaiter.UnsafeOnCompleted(continuation);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.ConfiguredTaskAwaitable+ConfiguredTaskAwaiter through "System.Private.CoreLib".
    public static unsafe class ConfiguredTaskAwaitableConfiguredTaskAwaiterWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.ConfiguredTaskAwaitable+ConfiguredTaskAwaiter", "GetResult")]
        public static void GetResult(ref ConfiguredTaskAwaitable.ConfiguredTaskAwaiter awaiter)
        {
            Report.Before(ApiTable.ConfiguredTaskAwaitableConfiguredTaskAwaiterGetResult, TaskSubjects.TaskOf(ref awaiter));
            awaiter.GetResult();
            Report.After(ApiTable.ConfiguredTaskAwaitableConfiguredTaskAwaiterGetResult, TaskSubjects.TaskOf(ref awaiter));
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.ConfiguredTaskAwaitable+ConfiguredTaskAwaiter", "OnCompleted")]
        public static void OnCompleted(ref ConfiguredTaskAwaitable.ConfiguredTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ConfiguredTaskAwaitableConfiguredTaskAwaiterOnCompleted, TaskSubjects.TaskOf(ref awaiter));
            awaiter.OnCompleted(continuation);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.ConfiguredTaskAwaitable+ConfiguredTaskAwaiter", "UnsafeOnCompleted")]
        public static void UnsafeOnCompleted(ref ConfiguredTaskAwaitable.ConfiguredTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ConfiguredTaskAwaitableConfiguredTaskAwaiterUnsafeOnCompleted, TaskSubjects.TaskOf(ref awaiter));
            awaiter.UnsafeOnCompleted(continuation);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.ConfiguredTaskAwaitable`1+ConfiguredTaskAwaiter through "System.Private.CoreLib".
    public static unsafe class ConfiguredTaskAwaitable1ConfiguredTaskAwaiterWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.ConfiguredTaskAwaitable`1+ConfiguredTaskAwaiter", "GetResult")]
        public static TResult GetResult<TResult>(ref ConfiguredTaskAwaitable<TResult>.ConfiguredTaskAwaiter awaiter)
        {
            Report.Before(ApiTable.ConfiguredTaskAwaitable1ConfiguredTaskAwaiterGetResult, TaskSubjects.TaskOf(ref awaiter));
            TResult result = awaiter.GetResult();
            Report.After(ApiTable.ConfiguredTaskAwaitable1ConfiguredTaskAwaiterGetResult, TaskSubjects.TaskOf(ref awaiter));
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.ConfiguredTaskAwaitable`1+ConfiguredTaskAwaiter", "OnCompleted")]
        public static void OnCompleted<TResult>(ref ConfiguredTaskAwaitable<TResult>.ConfiguredTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ConfiguredTaskAwaitable1ConfiguredTaskAwaiterOnCompleted, TaskSubjects.TaskOf(ref awaiter));
            awaiter.OnCompleted(continuation);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.ConfiguredTaskAwaitable`1+ConfiguredTaskAwaiter", "UnsafeOnCompleted")]
        public static void UnsafeOnCompleted<TResult>(ref ConfiguredTaskAwaitable<TResult>.ConfiguredTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ConfiguredTaskAwaitable1ConfiguredTaskAwaiterUnsafeOnCompleted, TaskSubjects.TaskOf(ref awaiter));
            awaiter.UnsafeOnCompleted(continuation);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.ValueTaskAwaiter through "System.Private.CoreLib".
    public static unsafe class ValueTaskAwaiterWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.ValueTaskAwaiter", "GetResult")]
        public static void GetResult(ref ValueTaskAwaiter awaiter)
        {
            Report.Before(ApiTable.ValueTaskAwaiterGetResult, null);
            awaiter.GetResult();
            Report.After(ApiTable.ValueTaskAwaiterGetResult, null);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.ValueTaskAwaiter", "OnCompleted")]
        public static void OnCompleted(ref ValueTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ValueTaskAwaiterOnCompleted, null);
            awaiter.OnCompleted(continuation);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.ValueTaskAwaiter", "UnsafeOnCompleted")]
        public static void UnsafeOnCompleted(ref ValueTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ValueTaskAwaiterUnsafeOnCompleted, null);
            awaiter.UnsafeOnCompleted(continuation);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.ValueTaskAwaiter`1 through "System.Private.CoreLib".
    public static unsafe class ValueTaskAwaiter1Wrapper
    {
        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.ValueTaskAwaiter`1", "GetResult")]
        public static TResult GetResult<TResult>(ref ValueTaskAwaiter<TResult> awaiter)
        {
            Report.Before(ApiTable.ValueTaskAwaiter1GetResult, null);
            TResult result = awaiter.GetResult();
            Report.After(ApiTable.ValueTaskAwaiter1GetResult, null);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.ValueTaskAwaiter`1", "OnCompleted")]
        public static void OnCompleted<TResult>(ref ValueTaskAwaiter<TResult> awaiter, Action continuation)
        {
            Report.Before(ApiTable.ValueTaskAwaiter1OnCompleted, null);
            awaiter.OnCompleted(continuation);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.ValueTaskAwaiter`1", "UnsafeOnCompleted")]
        public static void UnsafeOnCompleted<TResult>(ref ValueTaskAwaiter<TResult> awaiter, Action continuation)
        {
            Report.Before(ApiTable.ValueTaskAwaiter1UnsafeOnCompleted, null);
            awaiter.UnsafeOnCompleted(continuation);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable+ConfiguredValueTaskAwaiter through "System.Private.CoreLib".
    public static unsafe class ConfiguredValueTaskAwaitableConfiguredValueTaskAwaiterWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable+ConfiguredValueTaskAwaiter", "GetResult")]
        public static void GetResult(ref ConfiguredValueTaskAwaitable.ConfiguredValueTaskAwaiter awaiter)
        {
            Report.Before(ApiTable.ConfiguredValueTaskAwaitableConfiguredValueTaskAwaiterGetResult, null);
            awaiter.GetResult();
            Report.After(ApiTable.ConfiguredValueTaskAwaitableConfiguredValueTaskAwaiterGetResult, null);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable+ConfiguredValueTaskAwaiter", "OnCompleted")]
        public static void OnCompleted(ref ConfiguredValueTaskAwaitable.ConfiguredValueTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ConfiguredValueTaskAwaitableConfiguredValueTaskAwaiterOnCompleted, null);
            awaiter.OnCompleted(continuation);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable+ConfiguredValueTaskAwaiter", "UnsafeOnCompleted")]
        public static void UnsafeOnCompleted(ref ConfiguredValueTaskAwaitable.ConfiguredValueTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ConfiguredValueTaskAwaitableConfiguredValueTaskAwaiterUnsafeOnCompleted, null);
            awaiter.UnsafeOnCompleted(continuation);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable`1+ConfiguredValueTaskAwaiter through "System.Private.CoreLib".
    public static unsafe class ConfiguredValueTaskAwaitable1ConfiguredValueTaskAwaiterWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable`1+ConfiguredValueTaskAwaiter", "GetResult")]
        public static TResult GetResult<TResult>(ref ConfiguredValueTaskAwaitable<TResult>.ConfiguredValueTaskAwaiter awaiter)
        {
            Report.Before(ApiTable.ConfiguredValueTaskAwaitable1ConfiguredValueTaskAwaiterGetResult, null);
            TResult result = awaiter.GetResult();
            Report.After(ApiTable.ConfiguredValueTaskAwaitable1ConfiguredValueTaskAwaiterGetResult, null);
            return result;
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable`1+ConfiguredValueTaskAwaiter", "OnCompleted")]
        public static void OnCompleted<TResult>(ref ConfiguredValueTaskAwaitable<TResult>.ConfiguredValueTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ConfiguredValueTaskAwaitable1ConfiguredValueTaskAwaiterOnCompleted, null);
            awaiter.OnCompleted(continuation);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable`1+ConfiguredValueTaskAwaiter", "UnsafeOnCompleted")]
        public static void UnsafeOnCompleted<TResult>(ref ConfiguredValueTaskAwaitable<TResult>.ConfiguredValueTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ConfiguredValueTaskAwaitable1ConfiguredValueTaskAwaiterUnsafeOnCompleted, null);
            awaiter.UnsafeOnCompleted(continuation);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.AsyncTaskMethodBuilder through "System.Private.CoreLib".
    public static unsafe class AsyncTaskMethodBuilderWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncTaskMethodBuilder", "Start")]
        public static void Start<TStateMachine>(ref AsyncTaskMethodBuilder builder, ref TStateMachine stateMachine) where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncTaskMethodBuilderStart, TaskSubjects.TaskOf(ref builder));
            builder.Start<TStateMachine>(ref stateMachine);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncTaskMethodBuilder", "AwaitOnCompleted")]
        public static void AwaitOnCompleted<TAwaiter, TStateMachine>(ref AsyncTaskMethodBuilder builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : INotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncTaskMethodBuilderAwaitOnCompleted, TaskSubjects.TaskOf(ref builder));
            builder.AwaitOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncTaskMethodBuilder", "AwaitUnsafeOnCompleted")]
        public static void AwaitUnsafeOnCompleted<TAwaiter, TStateMachine>(ref AsyncTaskMethodBuilder builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : ICriticalNotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncTaskMethodBuilderAwaitUnsafeOnCompleted, TaskSubjects.TaskOf(ref builder));
            builder.AwaitUnsafeOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncTaskMethodBuilder", "SetResult")]
        public static void SetResult(ref AsyncTaskMethodBuilder builder)
        {
            Report.Before(ApiTable.AsyncTaskMethodBuilderSetResult, TaskSubjects.TaskOf(ref builder));
            builder.SetResult();
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncTaskMethodBuilder", "SetException")]
        public static void SetException(ref AsyncTaskMethodBuilder builder, Exception exception)
        {
            Report.Before(ApiTable.AsyncTaskMethodBuilderSetException, TaskSubjects.TaskOf(ref builder));
            builder.SetException(exception);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1 through "System.Private.CoreLib".
    public static unsafe class AsyncTaskMethodBuilder1Wrapper
    {
        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1", "Start")]
        public static void Start<TResult, TStateMachine>(ref AsyncTaskMethodBuilder<TResult> builder, ref TStateMachine stateMachine) where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncTaskMethodBuilder1Start, TaskSubjects.TaskOf(ref builder));
            builder.Start<TStateMachine>(ref stateMachine);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1", "AwaitOnCompleted")]
        public static void AwaitOnCompleted<TResult, TAwaiter, TStateMachine>(ref AsyncTaskMethodBuilder<TResult> builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : INotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncTaskMethodBuilder1AwaitOnCompleted, TaskSubjects.TaskOf(ref builder));
            builder.AwaitOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1", "AwaitUnsafeOnCompleted")]
        public static void AwaitUnsafeOnCompleted<TResult, TAwaiter, TStateMachine>(ref AsyncTaskMethodBuilder<TResult> builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : ICriticalNotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncTaskMethodBuilder1AwaitUnsafeOnCompleted, TaskSubjects.TaskOf(ref builder));
            builder.AwaitUnsafeOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1", "SetResult")]
        public static void SetResult<TResult>(ref AsyncTaskMethodBuilder<TResult> builder, TResult result)
        {
            Report.Before(ApiTable.AsyncTaskMethodBuilder1SetResult, TaskSubjects.TaskOf(ref builder));
            builder.SetResult(result);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1", "SetException")]
        public static void SetException<TResult>(ref AsyncTaskMethodBuilder<TResult> builder, Exception exception)
        {
            Report.Before(ApiTable.AsyncTaskMethodBuilder1SetException, TaskSubjects.TaskOf(ref builder));
            builder.SetException(exception);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder through "System.Private.CoreLib".
    public static unsafe class AsyncValueTaskMethodBuilderWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder", "Start")]
        public static void Start<TStateMachine>(ref AsyncValueTaskMethodBuilder builder, ref TStateMachine stateMachine) where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilderStart, null);
            builder.Start<TStateMachine>(ref stateMachine);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder", "AwaitOnCompleted")]
        public static void AwaitOnCompleted<TAwaiter, TStateMachine>(ref AsyncValueTaskMethodBuilder builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : INotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilderAwaitOnCompleted, null);
            builder.AwaitOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder", "AwaitUnsafeOnCompleted")]
        public static void AwaitUnsafeOnCompleted<TAwaiter, TStateMachine>(ref AsyncValueTaskMethodBuilder builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : ICriticalNotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilderAwaitUnsafeOnCompleted, null);
            builder.AwaitUnsafeOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder", "SetResult")]
        public static void SetResult(ref AsyncValueTaskMethodBuilder builder)
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilderSetResult, null);
            builder.SetResult();
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder", "SetException")]
        public static void SetException(ref AsyncValueTaskMethodBuilder builder, Exception exception)
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilderSetException, null);
            builder.SetException(exception);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1 through "System.Private.CoreLib".
    public static unsafe class AsyncValueTaskMethodBuilder1Wrapper
    {
        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1", "Start")]
        public static void Start<TResult, TStateMachine>(ref AsyncValueTaskMethodBuilder<TResult> builder, ref TStateMachine stateMachine) where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilder1Start, null);
            builder.Start<TStateMachine>(ref stateMachine);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1", "AwaitOnCompleted")]
        public static void AwaitOnCompleted<TResult, TAwaiter, TStateMachine>(ref AsyncValueTaskMethodBuilder<TResult> builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : INotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilder1AwaitOnCompleted, null);
            builder.AwaitOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1", "AwaitUnsafeOnCompleted")]
        public static void AwaitUnsafeOnCompleted<TResult, TAwaiter, TStateMachine>(ref AsyncValueTaskMethodBuilder<TResult> builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : ICriticalNotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilder1AwaitUnsafeOnCompleted, null);
            builder.AwaitUnsafeOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1", "SetResult")]
        public static void SetResult<TResult>(ref AsyncValueTaskMethodBuilder<TResult> builder, TResult result)
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilder1SetResult, null);
            builder.SetResult(result);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1", "SetException")]
        public static void SetException<TResult>(ref AsyncValueTaskMethodBuilder<TResult> builder, Exception exception)
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilder1SetException, null);
            builder.SetException(exception);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.AsyncVoidMethodBuilder through "System.Private.CoreLib".
    public static unsafe class AsyncVoidMethodBuilderWrapper
    {
        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncVoidMethodBuilder", "Start")]
        public static void Start<TStateMachine>(ref AsyncVoidMethodBuilder builder, ref TStateMachine stateMachine) where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncVoidMethodBuilderStart, null);
            builder.Start<TStateMachine>(ref stateMachine);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncVoidMethodBuilder", "AwaitOnCompleted")]
        public static void AwaitOnCompleted<TAwaiter, TStateMachine>(ref AsyncVoidMethodBuilder builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : INotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncVoidMethodBuilderAwaitOnCompleted, null);
            builder.AwaitOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncVoidMethodBuilder", "AwaitUnsafeOnCompleted")]
        public static void AwaitUnsafeOnCompleted<TAwaiter, TStateMachine>(ref AsyncVoidMethodBuilder builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : ICriticalNotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncVoidMethodBuilderAwaitUnsafeOnCompleted, null);
            builder.AwaitUnsafeOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncVoidMethodBuilder", "SetResult")]
        public static void SetResult(ref AsyncVoidMethodBuilder builder)
        {
            Report.Before(ApiTable.AsyncVoidMethodBuilderSetResult, null);
            builder.SetResult();
        }

        [Replacement("System.Private.CoreLib", "System.Runtime.CompilerServices.AsyncVoidMethodBuilder", "SetException")]
        public static void SetException(ref AsyncVoidMethodBuilder builder, Exception exception)
        {
            Report.Before(ApiTable.AsyncVoidMethodBuilderSetException, null);
            builder.SetException(exception);
        }
    }
}
