// Written by generate.py from its table; edit the table and rerun it.

using System;
using System.Threading;
using veskmrte_1_0;

namespace Veskmrte.Wrappers.SystemThreading
{
    // Replaces calls that name System.Threading.Monitor through "System.Threading".
    public static class MonitorWrapper
    {
        [Replacement("System.Threading", "System.Threading.Monitor", "Enter")]
        public static void Enter(object obj)
        {
            Report.Acquiring(ApiTable.MonitorEnter, obj);
            Monitor.Enter(obj);
            Report.Acquired(ApiTable.MonitorEnter, obj, true);
        }

        [Replacement("System.Threading", "System.Threading.Monitor", "Enter")]
        public static void Enter(object obj, ref bool lockTaken)
        {
            Report.Acquiring(ApiTable.MonitorEnter, obj);
            Monitor.Enter(obj, ref lockTaken);
            Report.Acquired(ApiTable.MonitorEnter, obj, lockTaken);
        }

        [Replacement("System.Threading", "System.Threading.Monitor", "TryEnter")]
        public static bool TryEnter(object obj)
        {
            Report.Before(ApiTable.MonitorTryEnter, obj);
            bool result = Monitor.TryEnter(obj);
            Report.Acquired(ApiTable.MonitorTryEnter, obj, result);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.Monitor", "TryEnter")]
        public static bool TryEnter(object obj, int millisecondsTimeout)
        {
            Report.Before(ApiTable.MonitorTryEnter, obj);
            bool result = Monitor.TryEnter(obj, millisecondsTimeout);
            Report.Acquired(ApiTable.MonitorTryEnter, obj, result);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.Monitor", "TryEnter")]
        public static bool TryEnter(object obj, TimeSpan timeout)
        {
            Report.Before(ApiTable.MonitorTryEnter, obj);
            bool result = Monitor.TryEnter(obj, timeout);
            Report.Acquired(ApiTable.MonitorTryEnter, obj, result);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.Monitor", "TryEnter")]
        public static void TryEnter(object obj, ref bool lockTaken)
        {
            Report.Before(ApiTable.MonitorTryEnter, obj);
            Monitor.TryEnter(obj, ref lockTaken);
            Report.Acquired(ApiTable.MonitorTryEnter, obj, lockTaken);
        }

        [Replacement("System.Threading", "System.Threading.Monitor", "TryEnter")]
        public static void TryEnter(object obj, int millisecondsTimeout, ref bool lockTaken)
        {
            Report.Before(ApiTable.MonitorTryEnter, obj);
            Monitor.TryEnter(obj, millisecondsTimeout, ref lockTaken);
            Report.Acquired(ApiTable.MonitorTryEnter, obj, lockTaken);
        }

        [Replacement("System.Threading", "System.Threading.Monitor", "TryEnter")]
        public static void TryEnter(object obj, TimeSpan timeout, ref bool lockTaken)
        {
            Report.Before(ApiTable.MonitorTryEnter, obj);
            Monitor.TryEnter(obj, timeout, ref lockTaken);
            Report.Acquired(ApiTable.MonitorTryEnter, obj, lockTaken);
        }

        [Replacement("System.Threading", "System.Threading.Monitor", "Exit")]
        public static void Exit(object obj)
        {
            Report.Releasing(ApiTable.MonitorExit, obj);
            Monitor.Exit(obj);
        }

        [Replacement("System.Threading", "System.Threading.Monitor", "Wait")]
        public static bool Wait(object obj)
        {
            Report.Waiting(ApiTable.MonitorWait, obj);
            bool result = Monitor.Wait(obj);
            Report.Acquired(ApiTable.MonitorWait, obj, true);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.Monitor", "Wait")]
        public static bool Wait(object obj, int millisecondsTimeout)
        {
            Report.Waiting(ApiTable.MonitorWait, obj);
            bool result = Monitor.Wait(obj, millisecondsTimeout);
            Report.Acquired(ApiTable.MonitorWait, obj, true);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.Monitor", "Wait")]
        public static bool Wait(object obj, TimeSpan timeout)
        {
            Report.Waiting(ApiTable.MonitorWait, obj);
            bool result = Monitor.Wait(obj, timeout);
            Report.Acquired(ApiTable.MonitorWait, obj, true);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.Monitor", "Wait")]
        public static bool Wait(object obj, int millisecondsTimeout, bool exitContext)
        {
            Report.Waiting(ApiTable.MonitorWait, obj);
            bool result = Monitor.Wait(obj, millisecondsTimeout, exitContext);
            Report.Acquired(ApiTable.MonitorWait, obj, true);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.Monitor", "Wait")]
        public static bool Wait(object obj, TimeSpan timeout, bool exitContext)
        {
            Report.Waiting(ApiTable.MonitorWait, obj);
            bool result = Monitor.Wait(obj, timeout, exitContext);
            Report.Acquired(ApiTable.MonitorWait, obj, true);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.Monitor", "Pulse")]
        public static void Pulse(object obj)
        {
            Report.Before(ApiTable.MonitorPulse, obj);
            Monitor.Pulse(obj);
        }

        [Replacement("System.Threading", "System.Threading.Monitor", "PulseAll")]
        public static void PulseAll(object obj)
        {
            Report.Before(ApiTable.MonitorPulseAll, obj);
            Monitor.PulseAll(obj);
        }
    }

    // Replaces calls that name System.Threading.EventWaitHandle through "System.Threading".
    public static class EventWaitHandleWrapper
    {
        [Replacement("System.Threading", "System.Threading.EventWaitHandle", "Set")]
        public static bool Set(EventWaitHandle handle)
        {
            Report.Before(ApiTable.EventWaitHandleSet, handle);
            return handle.Set();
        }

        [Replacement("System.Threading", "System.Threading.EventWaitHandle", "Reset")]
        public static bool Reset(EventWaitHandle handle)
        {
            Report.Before(ApiTable.EventWaitHandleReset, handle);
            return handle.Reset();
        }
    }

    // Replaces calls that name System.Threading.Mutex through "System.Threading".
    public static class MutexWrapper
    {
        [Replacement("System.Threading", "System.Threading.Mutex", ".ctor")]
        public static Mutex Ctor()
        {
            Report.Before(ApiTable.MutexCtor, null);
            return new Mutex();
        }

        [Replacement("System.Threading", "System.Threading.Mutex", ".ctor")]
        public static Mutex Ctor(bool initiallyOwned)
        {
            Report.Before(ApiTable.MutexCtor, null);
            return new Mutex(initiallyOwned);
        }

        [Replacement("System.Threading", "System.Threading.Mutex", ".ctor")]
        public static Mutex Ctor(bool initiallyOwned, string? name)
        {
            Report.Before(ApiTable.MutexCtor, null);
            return new Mutex(initiallyOwned, name);
        }

        [Replacement("System.Threading", "System.Threading.Mutex", ".ctor")]
        public static Mutex Ctor(bool initiallyOwned, string? name, out bool createdNew)
        {
            Report.Before(ApiTable.MutexCtor, null);
            return new Mutex(initiallyOwned, name, out createdNew);
        }

        [Replacement("System.Threading", "System.Threading.Mutex", "ReleaseMutex")]
        public static void ReleaseMutex(Mutex mutex)
        {
            Report.Releasing(ApiTable.MutexReleaseMutex, mutex);
            mutex.ReleaseMutex();
        }
    }

    // Replaces calls that name System.Threading.SemaphoreSlim through "System.Threading".
    public static class SemaphoreSlimWrapper
    {
        [Replacement("System.Threading", "System.Threading.SemaphoreSlim", ".ctor")]
        public static SemaphoreSlim Ctor(int initialCount)
        {
            Report.Before(ApiTable.SemaphoreSlimCtor, null);
            return new SemaphoreSlim(initialCount);
        }

        [Replacement("System.Threading", "System.Threading.SemaphoreSlim", ".ctor")]
        public static SemaphoreSlim Ctor(int initialCount, int maxCount)
        {
            Report.Before(ApiTable.SemaphoreSlimCtor, null);
            return new SemaphoreSlim(initialCount, maxCount);
        }

        [Replacement("System.Threading", "System.Threading.SemaphoreSlim", "Wait")]
        public static void Wait(SemaphoreSlim semaphore)
        {
            Report.Acquiring(ApiTable.SemaphoreSlimWait, semaphore);
            semaphore.Wait();
            Report.Acquired(ApiTable.SemaphoreSlimWait, semaphore, true);
        }

        [Replacement("System.Threading", "System.Threading.SemaphoreSlim", "Wait")]
        public static bool Wait(SemaphoreSlim semaphore, int millisecondsTimeout)
        {
            Report.Before(ApiTable.SemaphoreSlimWait, semaphore);
            bool result = semaphore.Wait(millisecondsTimeout);
            Report.Acquired(ApiTable.SemaphoreSlimWait, semaphore, result);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.SemaphoreSlim", "Wait")]
        public static bool Wait(SemaphoreSlim semaphore, TimeSpan timeout)
        {
            Report.Before(ApiTable.SemaphoreSlimWait, semaphore);
            bool result = semaphore.Wait(timeout);
            Report.Acquired(ApiTable.SemaphoreSlimWait, semaphore, result);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.SemaphoreSlim", "Wait")]
        public static void Wait(SemaphoreSlim semaphore, CancellationToken cancellationToken)
        {
            Report.Acquiring(ApiTable.SemaphoreSlimWait, semaphore);
            semaphore.Wait(cancellationToken);
            Report.Acquired(ApiTable.SemaphoreSlimWait, semaphore, true);
        }

        [Replacement("System.Threading", "System.Threading.SemaphoreSlim", "Wait")]
        public static bool Wait(SemaphoreSlim semaphore, int millisecondsTimeout, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.SemaphoreSlimWait, semaphore);
            bool result = semaphore.Wait(millisecondsTimeout, cancellationToken);
            Report.Acquired(ApiTable.SemaphoreSlimWait, semaphore, result);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.SemaphoreSlim", "Wait")]
        public static bool Wait(SemaphoreSlim semaphore, TimeSpan timeout, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.SemaphoreSlimWait, semaphore);
            bool result = semaphore.Wait(timeout, cancellationToken);
            Report.Acquired(ApiTable.SemaphoreSlimWait, semaphore, result);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.SemaphoreSlim", "Release")]
        public static int Release(SemaphoreSlim semaphore)
        {
            Report.Releasing(ApiTable.SemaphoreSlimRelease, semaphore);
            return semaphore.Release();
        }

        [Replacement("System.Threading", "System.Threading.SemaphoreSlim", "Release")]
        public static int Release(SemaphoreSlim semaphore, int releaseCount)
        {
            Report.Releasing(ApiTable.SemaphoreSlimRelease, semaphore);
            return semaphore.Release(releaseCount);
        }
    }
}
