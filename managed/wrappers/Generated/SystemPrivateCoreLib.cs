// Written by generate.py from its table; edit the table and rerun it.

using System;
using System.Threading;
using veskmrte_1_0;

namespace Veskmrte.Wrappers.SystemPrivateCoreLib
{
    // Replaces calls that name System.Threading.Monitor through "System.Private.CoreLib".
    public static class MonitorWrapper
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
    public static class ThreadWrapper
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
    }

    // Replaces calls that name System.Threading.WaitHandle through "System.Private.CoreLib".
    public static class WaitHandleWrapper
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
    }

    // Replaces calls that name System.Threading.EventWaitHandle through "System.Private.CoreLib".
    public static class EventWaitHandleWrapper
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
    public static class MutexWrapper
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
    public static class SemaphoreSlimWrapper
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
    }
}
