// Written by generate.py from its table; edit the table and rerun it.

using System;
using System.Collections.Generic;
using System.Runtime.CompilerServices;
using System.Threading;
using System.Threading.Tasks;
using veskmrte_1_0;

namespace Veskmrte.Wrappers.SystemThreading
{
    // Replaces calls that name System.Threading.Monitor through "System.Threading".
    public static unsafe class MonitorWrapper
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
    public static unsafe class EventWaitHandleWrapper
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
    public static unsafe class MutexWrapper
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
    public static unsafe class SemaphoreSlimWrapper
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

        [Replacement("System.Threading", "System.Threading.SemaphoreSlim", "WaitAsync")]
        public static Task WaitAsync(SemaphoreSlim semaphore)
        {
            Report.Before(ApiTable.SemaphoreSlimWaitAsync, semaphore);
            return semaphore.WaitAsync();
        }

        [Replacement("System.Threading", "System.Threading.SemaphoreSlim", "WaitAsync")]
        public static Task<bool> WaitAsync(SemaphoreSlim semaphore, int millisecondsTimeout)
        {
            Report.Before(ApiTable.SemaphoreSlimWaitAsync, semaphore);
            return semaphore.WaitAsync(millisecondsTimeout);
        }

        [Replacement("System.Threading", "System.Threading.SemaphoreSlim", "WaitAsync")]
        public static Task<bool> WaitAsync(SemaphoreSlim semaphore, TimeSpan timeout)
        {
            Report.Before(ApiTable.SemaphoreSlimWaitAsync, semaphore);
            return semaphore.WaitAsync(timeout);
        }

        [Replacement("System.Threading", "System.Threading.SemaphoreSlim", "WaitAsync")]
        public static Task WaitAsync(SemaphoreSlim semaphore, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.SemaphoreSlimWaitAsync, semaphore);
            return semaphore.WaitAsync(cancellationToken);
        }

        [Replacement("System.Threading", "System.Threading.SemaphoreSlim", "WaitAsync")]
        public static Task<bool> WaitAsync(SemaphoreSlim semaphore, int millisecondsTimeout, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.SemaphoreSlimWaitAsync, semaphore);
            return semaphore.WaitAsync(millisecondsTimeout, cancellationToken);
        }

        [Replacement("System.Threading", "System.Threading.SemaphoreSlim", "WaitAsync")]
        public static Task<bool> WaitAsync(SemaphoreSlim semaphore, TimeSpan timeout, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.SemaphoreSlimWaitAsync, semaphore);
            return semaphore.WaitAsync(timeout, cancellationToken);
        }
    }

    // Replaces calls that name System.Threading.ReaderWriterLockSlim through "System.Threading".
    public static unsafe class ReaderWriterLockSlimWrapper
    {
        [Replacement("System.Threading", "System.Threading.ReaderWriterLockSlim", ".ctor")]
        public static ReaderWriterLockSlim Ctor()
        {
            Report.Before(ApiTable.ReaderWriterLockSlimCtor, null);
            return new ReaderWriterLockSlim();
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLockSlim", ".ctor")]
        public static ReaderWriterLockSlim Ctor(LockRecursionPolicy recursionPolicy)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimCtor, null);
            return new ReaderWriterLockSlim(recursionPolicy);
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLockSlim", "EnterReadLock")]
        public static void EnterReadLock(ReaderWriterLockSlim rwLock)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimEnterReadLock, rwLock);
            rwLock.EnterReadLock();
            Report.After(ApiTable.ReaderWriterLockSlimEnterReadLock, rwLock);
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLockSlim", "TryEnterReadLock")]
        public static bool TryEnterReadLock(ReaderWriterLockSlim rwLock, int millisecondsTimeout)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimTryEnterReadLock, rwLock);
            bool result = rwLock.TryEnterReadLock(millisecondsTimeout);
            Report.After(ApiTable.ReaderWriterLockSlimTryEnterReadLock, rwLock);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLockSlim", "TryEnterReadLock")]
        public static bool TryEnterReadLock(ReaderWriterLockSlim rwLock, TimeSpan timeout)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimTryEnterReadLock, rwLock);
            bool result = rwLock.TryEnterReadLock(timeout);
            Report.After(ApiTable.ReaderWriterLockSlimTryEnterReadLock, rwLock);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLockSlim", "ExitReadLock")]
        public static void ExitReadLock(ReaderWriterLockSlim rwLock)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimExitReadLock, rwLock);
            rwLock.ExitReadLock();
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLockSlim", "EnterWriteLock")]
        public static void EnterWriteLock(ReaderWriterLockSlim rwLock)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimEnterWriteLock, rwLock);
            rwLock.EnterWriteLock();
            Report.After(ApiTable.ReaderWriterLockSlimEnterWriteLock, rwLock);
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLockSlim", "TryEnterWriteLock")]
        public static bool TryEnterWriteLock(ReaderWriterLockSlim rwLock, int millisecondsTimeout)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimTryEnterWriteLock, rwLock);
            bool result = rwLock.TryEnterWriteLock(millisecondsTimeout);
            Report.After(ApiTable.ReaderWriterLockSlimTryEnterWriteLock, rwLock);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLockSlim", "TryEnterWriteLock")]
        public static bool TryEnterWriteLock(ReaderWriterLockSlim rwLock, TimeSpan timeout)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimTryEnterWriteLock, rwLock);
            bool result = rwLock.TryEnterWriteLock(timeout);
            Report.After(ApiTable.ReaderWriterLockSlimTryEnterWriteLock, rwLock);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLockSlim", "ExitWriteLock")]
        public static void ExitWriteLock(ReaderWriterLockSlim rwLock)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimExitWriteLock, rwLock);
            rwLock.ExitWriteLock();
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLockSlim", "EnterUpgradeableReadLock")]
        public static void EnterUpgradeableReadLock(ReaderWriterLockSlim rwLock)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimEnterUpgradeableReadLock, rwLock);
            rwLock.EnterUpgradeableReadLock();
            Report.After(ApiTable.ReaderWriterLockSlimEnterUpgradeableReadLock, rwLock);
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLockSlim", "TryEnterUpgradeableReadLock")]
        public static bool TryEnterUpgradeableReadLock(ReaderWriterLockSlim rwLock, int millisecondsTimeout)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimTryEnterUpgradeableReadLock, rwLock);
            bool result = rwLock.TryEnterUpgradeableReadLock(millisecondsTimeout);
            Report.After(ApiTable.ReaderWriterLockSlimTryEnterUpgradeableReadLock, rwLock);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLockSlim", "TryEnterUpgradeableReadLock")]
        public static bool TryEnterUpgradeableReadLock(ReaderWriterLockSlim rwLock, TimeSpan timeout)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimTryEnterUpgradeableReadLock, rwLock);
            bool result = rwLock.TryEnterUpgradeableReadLock(timeout);
            Report.After(ApiTable.ReaderWriterLockSlimTryEnterUpgradeableReadLock, rwLock);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLockSlim", "ExitUpgradeableReadLock")]
        public static void ExitUpgradeableReadLock(ReaderWriterLockSlim rwLock)
        {
            Report.Before(ApiTable.ReaderWriterLockSlimExitUpgradeableReadLock, rwLock);
            rwLock.ExitUpgradeableReadLock();
        }
    }

    // Replaces calls that name System.Threading.ReaderWriterLock through "System.Threading".
    public static unsafe class ReaderWriterLockWrapper
    {
        [Replacement("System.Threading", "System.Threading.ReaderWriterLock", ".ctor")]
        public static ReaderWriterLock Ctor()
        {
            Report.Before(ApiTable.ReaderWriterLockCtor, null);
            return new ReaderWriterLock();
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLock", "AcquireReaderLock")]
        public static void AcquireReaderLock(ReaderWriterLock rwLock, int millisecondsTimeout)
        {
            Report.Before(ApiTable.ReaderWriterLockAcquireReaderLock, rwLock);
            rwLock.AcquireReaderLock(millisecondsTimeout);
            Report.After(ApiTable.ReaderWriterLockAcquireReaderLock, rwLock);
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLock", "AcquireReaderLock")]
        public static void AcquireReaderLock(ReaderWriterLock rwLock, TimeSpan timeout)
        {
            Report.Before(ApiTable.ReaderWriterLockAcquireReaderLock, rwLock);
            rwLock.AcquireReaderLock(timeout);
            Report.After(ApiTable.ReaderWriterLockAcquireReaderLock, rwLock);
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLock", "ReleaseReaderLock")]
        public static void ReleaseReaderLock(ReaderWriterLock rwLock)
        {
            Report.Before(ApiTable.ReaderWriterLockReleaseReaderLock, rwLock);
            rwLock.ReleaseReaderLock();
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLock", "AcquireWriterLock")]
        public static void AcquireWriterLock(ReaderWriterLock rwLock, int millisecondsTimeout)
        {
            Report.Before(ApiTable.ReaderWriterLockAcquireWriterLock, rwLock);
            rwLock.AcquireWriterLock(millisecondsTimeout);
            Report.After(ApiTable.ReaderWriterLockAcquireWriterLock, rwLock);
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLock", "AcquireWriterLock")]
        public static void AcquireWriterLock(ReaderWriterLock rwLock, TimeSpan timeout)
        {
            Report.Before(ApiTable.ReaderWriterLockAcquireWriterLock, rwLock);
            rwLock.AcquireWriterLock(timeout);
            Report.After(ApiTable.ReaderWriterLockAcquireWriterLock, rwLock);
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLock", "ReleaseWriterLock")]
        public static void ReleaseWriterLock(ReaderWriterLock rwLock)
        {
            Report.Before(ApiTable.ReaderWriterLockReleaseWriterLock, rwLock);
            rwLock.ReleaseWriterLock();
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLock", "UpgradeToWriterLock")]
        public static LockCookie UpgradeToWriterLock(ReaderWriterLock rwLock, int millisecondsTimeout)
        {
            Report.Before(ApiTable.ReaderWriterLockUpgradeToWriterLock, rwLock);
            LockCookie result = rwLock.UpgradeToWriterLock(millisecondsTimeout);
            Report.After(ApiTable.ReaderWriterLockUpgradeToWriterLock, rwLock);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLock", "UpgradeToWriterLock")]
        public static LockCookie UpgradeToWriterLock(ReaderWriterLock rwLock, TimeSpan timeout)
        {
            Report.Before(ApiTable.ReaderWriterLockUpgradeToWriterLock, rwLock);
            LockCookie result = rwLock.UpgradeToWriterLock(timeout);
            Report.After(ApiTable.ReaderWriterLockUpgradeToWriterLock, rwLock);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLock", "DowngradeFromWriterLock")]
        public static void DowngradeFromWriterLock(ReaderWriterLock rwLock, ref LockCookie lockCookie)
        {
            Report.Before(ApiTable.ReaderWriterLockDowngradeFromWriterLock, rwLock);
            rwLock.DowngradeFromWriterLock(ref lockCookie);
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLock", "ReleaseLock")]
        public static LockCookie ReleaseLock(ReaderWriterLock rwLock)
        {
            Report.Before(ApiTable.ReaderWriterLockReleaseLock, rwLock);
            return rwLock.ReleaseLock();
        }

        [Replacement("System.Threading", "System.Threading.ReaderWriterLock", "RestoreLock")]
        public static void RestoreLock(ReaderWriterLock rwLock, ref LockCookie lockCookie)
        {
            Report.Before(ApiTable.ReaderWriterLockRestoreLock, rwLock);
            rwLock.RestoreLock(ref lockCookie);
            Report.After(ApiTable.ReaderWriterLockRestoreLock, rwLock);
        }
    }

    // Replaces calls that name System.Threading.ManualResetEventSlim through "System.Threading".
    public static unsafe class ManualResetEventSlimWrapper
    {
        [Replacement("System.Threading", "System.Threading.ManualResetEventSlim", ".ctor")]
        public static ManualResetEventSlim Ctor()
        {
            Report.Before(ApiTable.ManualResetEventSlimCtor, null);
            return new ManualResetEventSlim();
        }

        [Replacement("System.Threading", "System.Threading.ManualResetEventSlim", ".ctor")]
        public static ManualResetEventSlim Ctor(bool initialState)
        {
            Report.Before(ApiTable.ManualResetEventSlimCtor, null);
            return new ManualResetEventSlim(initialState);
        }

        [Replacement("System.Threading", "System.Threading.ManualResetEventSlim", ".ctor")]
        public static ManualResetEventSlim Ctor(bool initialState, int spinCount)
        {
            Report.Before(ApiTable.ManualResetEventSlimCtor, null);
            return new ManualResetEventSlim(initialState, spinCount);
        }

        [Replacement("System.Threading", "System.Threading.ManualResetEventSlim", "Set")]
        public static void Set(ManualResetEventSlim slimEvent)
        {
            Report.Before(ApiTable.ManualResetEventSlimSet, slimEvent);
            slimEvent.Set();
        }

        [Replacement("System.Threading", "System.Threading.ManualResetEventSlim", "Reset")]
        public static void Reset(ManualResetEventSlim slimEvent)
        {
            Report.Before(ApiTable.ManualResetEventSlimReset, slimEvent);
            slimEvent.Reset();
        }

        [Replacement("System.Threading", "System.Threading.ManualResetEventSlim", "Wait")]
        public static void Wait(ManualResetEventSlim slimEvent)
        {
            Report.Before(ApiTable.ManualResetEventSlimWait, slimEvent);
            slimEvent.Wait();
            Report.After(ApiTable.ManualResetEventSlimWait, slimEvent);
        }

        [Replacement("System.Threading", "System.Threading.ManualResetEventSlim", "Wait")]
        public static bool Wait(ManualResetEventSlim slimEvent, int millisecondsTimeout)
        {
            Report.Before(ApiTable.ManualResetEventSlimWait, slimEvent);
            bool result = slimEvent.Wait(millisecondsTimeout);
            Report.After(ApiTable.ManualResetEventSlimWait, slimEvent);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.ManualResetEventSlim", "Wait")]
        public static bool Wait(ManualResetEventSlim slimEvent, TimeSpan timeout)
        {
            Report.Before(ApiTable.ManualResetEventSlimWait, slimEvent);
            bool result = slimEvent.Wait(timeout);
            Report.After(ApiTable.ManualResetEventSlimWait, slimEvent);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.ManualResetEventSlim", "Wait")]
        public static void Wait(ManualResetEventSlim slimEvent, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.ManualResetEventSlimWait, slimEvent);
            slimEvent.Wait(cancellationToken);
            Report.After(ApiTable.ManualResetEventSlimWait, slimEvent);
        }

        [Replacement("System.Threading", "System.Threading.ManualResetEventSlim", "Wait")]
        public static bool Wait(ManualResetEventSlim slimEvent, int millisecondsTimeout, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.ManualResetEventSlimWait, slimEvent);
            bool result = slimEvent.Wait(millisecondsTimeout, cancellationToken);
            Report.After(ApiTable.ManualResetEventSlimWait, slimEvent);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.ManualResetEventSlim", "Wait")]
        public static bool Wait(ManualResetEventSlim slimEvent, TimeSpan timeout, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.ManualResetEventSlimWait, slimEvent);
            bool result = slimEvent.Wait(timeout, cancellationToken);
            Report.After(ApiTable.ManualResetEventSlimWait, slimEvent);
            return result;
        }
    }

    // Replaces calls that name System.Threading.Semaphore through "System.Threading".
    public static unsafe class SemaphoreWrapper
    {
        [Replacement("System.Threading", "System.Threading.Semaphore", ".ctor")]
        public static Semaphore Ctor(int initialCount, int maximumCount)
        {
            Report.Before(ApiTable.SemaphoreCtor, null);
            return new Semaphore(initialCount, maximumCount);
        }

        [Replacement("System.Threading", "System.Threading.Semaphore", ".ctor")]
        public static Semaphore Ctor(int initialCount, int maximumCount, string? name)
        {
            Report.Before(ApiTable.SemaphoreCtor, null);
            return new Semaphore(initialCount, maximumCount, name);
        }

        [Replacement("System.Threading", "System.Threading.Semaphore", ".ctor")]
        public static Semaphore Ctor(int initialCount, int maximumCount, string? name, out bool createdNew)
        {
            Report.Before(ApiTable.SemaphoreCtor, null);
            return new Semaphore(initialCount, maximumCount, name, out createdNew);
        }

        [Replacement("System.Threading", "System.Threading.Semaphore", "Release")]
        public static int Release(Semaphore semaphore)
        {
            Report.Before(ApiTable.SemaphoreRelease, semaphore);
            return semaphore.Release();
        }

        [Replacement("System.Threading", "System.Threading.Semaphore", "Release")]
        public static int Release(Semaphore semaphore, int releaseCount)
        {
            Report.Before(ApiTable.SemaphoreRelease, semaphore);
            return semaphore.Release(releaseCount);
        }
    }

    // Replaces calls that name System.Threading.AutoResetEvent through "System.Threading".
    public static unsafe class AutoResetEventWrapper
    {
        [Replacement("System.Threading", "System.Threading.AutoResetEvent", ".ctor")]
        public static AutoResetEvent Ctor(bool initialState)
        {
            Report.Before(ApiTable.AutoResetEventCtor, null);
            return new AutoResetEvent(initialState);
        }
    }

    // Replaces calls that name System.Threading.ManualResetEvent through "System.Threading".
    public static unsafe class ManualResetEventWrapper
    {
        [Replacement("System.Threading", "System.Threading.ManualResetEvent", ".ctor")]
        public static ManualResetEvent Ctor(bool initialState)
        {
            Report.Before(ApiTable.ManualResetEventCtor, null);
            return new ManualResetEvent(initialState);
        }
    }

    // Replaces calls that name System.Threading.CountdownEvent through "System.Threading".
    public static unsafe class CountdownEventWrapper
    {
        [Replacement("System.Threading", "System.Threading.CountdownEvent", ".ctor")]
        public static CountdownEvent Ctor(int initialCount)
        {
            Report.Before(ApiTable.CountdownEventCtor, null);
            return new CountdownEvent(initialCount);
        }

        [Replacement("System.Threading", "System.Threading.CountdownEvent", "Signal")]
        public static bool Signal(CountdownEvent countdown)
        {
            Report.Before(ApiTable.CountdownEventSignal, countdown);
            return countdown.Signal();
        }

        [Replacement("System.Threading", "System.Threading.CountdownEvent", "Signal")]
        public static bool Signal(CountdownEvent countdown, int signalCount)
        {
            Report.Before(ApiTable.CountdownEventSignal, countdown);
            return countdown.Signal(signalCount);
        }

        [Replacement("System.Threading", "System.Threading.CountdownEvent", "AddCount")]
        public static void AddCount(CountdownEvent countdown)
        {
            Report.Before(ApiTable.CountdownEventAddCount, countdown);
            countdown.AddCount();
        }

        [Replacement("System.Threading", "System.Threading.CountdownEvent", "AddCount")]
        public static void AddCount(CountdownEvent countdown, int signalCount)
        {
            Report.Before(ApiTable.CountdownEventAddCount, countdown);
            countdown.AddCount(signalCount);
        }

        [Replacement("System.Threading", "System.Threading.CountdownEvent", "TryAddCount")]
        public static bool TryAddCount(CountdownEvent countdown)
        {
            Report.Before(ApiTable.CountdownEventTryAddCount, countdown);
            return countdown.TryAddCount();
        }

        [Replacement("System.Threading", "System.Threading.CountdownEvent", "TryAddCount")]
        public static bool TryAddCount(CountdownEvent countdown, int signalCount)
        {
            Report.Before(ApiTable.CountdownEventTryAddCount, countdown);
            return countdown.TryAddCount(signalCount);
        }

        [Replacement("System.Threading", "System.Threading.CountdownEvent", "Reset")]
        public static void Reset(CountdownEvent countdown)
        {
            Report.Before(ApiTable.CountdownEventReset, countdown);
            countdown.Reset();
        }

        [Replacement("System.Threading", "System.Threading.CountdownEvent", "Reset")]
        public static void Reset(CountdownEvent countdown, int count)
        {
            Report.Before(ApiTable.CountdownEventReset, countdown);
            countdown.Reset(count);
        }

        [Replacement("System.Threading", "System.Threading.CountdownEvent", "Wait")]
        public static void Wait(CountdownEvent countdown)
        {
            Report.Before(ApiTable.CountdownEventWait, countdown);
            countdown.Wait();
            Report.After(ApiTable.CountdownEventWait, countdown);
        }

        [Replacement("System.Threading", "System.Threading.CountdownEvent", "Wait")]
        public static bool Wait(CountdownEvent countdown, int millisecondsTimeout)
        {
            Report.Before(ApiTable.CountdownEventWait, countdown);
            bool result = countdown.Wait(millisecondsTimeout);
            Report.After(ApiTable.CountdownEventWait, countdown);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.CountdownEvent", "Wait")]
        public static bool Wait(CountdownEvent countdown, TimeSpan timeout)
        {
            Report.Before(ApiTable.CountdownEventWait, countdown);
            bool result = countdown.Wait(timeout);
            Report.After(ApiTable.CountdownEventWait, countdown);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.CountdownEvent", "Wait")]
        public static void Wait(CountdownEvent countdown, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.CountdownEventWait, countdown);
            countdown.Wait(cancellationToken);
            Report.After(ApiTable.CountdownEventWait, countdown);
        }

        [Replacement("System.Threading", "System.Threading.CountdownEvent", "Wait")]
        public static bool Wait(CountdownEvent countdown, int millisecondsTimeout, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.CountdownEventWait, countdown);
            bool result = countdown.Wait(millisecondsTimeout, cancellationToken);
            Report.After(ApiTable.CountdownEventWait, countdown);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.CountdownEvent", "Wait")]
        public static bool Wait(CountdownEvent countdown, TimeSpan timeout, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.CountdownEventWait, countdown);
            bool result = countdown.Wait(timeout, cancellationToken);
            Report.After(ApiTable.CountdownEventWait, countdown);
            return result;
        }
    }

    // Replaces calls that name System.Threading.Barrier through "System.Threading".
    public static unsafe class BarrierWrapper
    {
        [Replacement("System.Threading", "System.Threading.Barrier", ".ctor")]
        public static Barrier Ctor(int participantCount)
        {
            Report.Before(ApiTable.BarrierCtor, null);
            return new Barrier(participantCount);
        }

        [Replacement("System.Threading", "System.Threading.Barrier", ".ctor")]
        public static Barrier Ctor(int participantCount, Action<Barrier>? postPhaseAction)
        {
            Report.Before(ApiTable.BarrierCtor, null);
            return new Barrier(participantCount, postPhaseAction);
        }

        [Replacement("System.Threading", "System.Threading.Barrier", "SignalAndWait")]
        public static void SignalAndWait(Barrier barrier)
        {
            Report.Before(ApiTable.BarrierSignalAndWait, barrier);
            barrier.SignalAndWait();
            Report.After(ApiTable.BarrierSignalAndWait, barrier);
        }

        [Replacement("System.Threading", "System.Threading.Barrier", "SignalAndWait")]
        public static bool SignalAndWait(Barrier barrier, int millisecondsTimeout)
        {
            Report.Before(ApiTable.BarrierSignalAndWait, barrier);
            bool result = barrier.SignalAndWait(millisecondsTimeout);
            Report.After(ApiTable.BarrierSignalAndWait, barrier);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.Barrier", "SignalAndWait")]
        public static bool SignalAndWait(Barrier barrier, TimeSpan timeout)
        {
            Report.Before(ApiTable.BarrierSignalAndWait, barrier);
            bool result = barrier.SignalAndWait(timeout);
            Report.After(ApiTable.BarrierSignalAndWait, barrier);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.Barrier", "SignalAndWait")]
        public static void SignalAndWait(Barrier barrier, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.BarrierSignalAndWait, barrier);
            barrier.SignalAndWait(cancellationToken);
            Report.After(ApiTable.BarrierSignalAndWait, barrier);
        }

        [Replacement("System.Threading", "System.Threading.Barrier", "SignalAndWait")]
        public static bool SignalAndWait(Barrier barrier, int millisecondsTimeout, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.BarrierSignalAndWait, barrier);
            bool result = barrier.SignalAndWait(millisecondsTimeout, cancellationToken);
            Report.After(ApiTable.BarrierSignalAndWait, barrier);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.Barrier", "SignalAndWait")]
        public static bool SignalAndWait(Barrier barrier, TimeSpan timeout, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.BarrierSignalAndWait, barrier);
            bool result = barrier.SignalAndWait(timeout, cancellationToken);
            Report.After(ApiTable.BarrierSignalAndWait, barrier);
            return result;
        }

        [Replacement("System.Threading", "System.Threading.Barrier", "AddParticipant")]
        public static long AddParticipant(Barrier barrier)
        {
            Report.Before(ApiTable.BarrierAddParticipant, barrier);
            return barrier.AddParticipant();
        }

        [Replacement("System.Threading", "System.Threading.Barrier", "AddParticipants")]
        public static long AddParticipants(Barrier barrier, int participantCount)
        {
            Report.Before(ApiTable.BarrierAddParticipants, barrier);
            return barrier.AddParticipants(participantCount);
        }

        [Replacement("System.Threading", "System.Threading.Barrier", "RemoveParticipant")]
        public static void RemoveParticipant(Barrier barrier)
        {
            Report.Before(ApiTable.BarrierRemoveParticipant, barrier);
            barrier.RemoveParticipant();
        }

        [Replacement("System.Threading", "System.Threading.Barrier", "RemoveParticipants")]
        public static void RemoveParticipants(Barrier barrier, int participantCount)
        {
            Report.Before(ApiTable.BarrierRemoveParticipants, barrier);
            barrier.RemoveParticipants(participantCount);
        }
    }

    // Replaces calls that name System.Threading.Interlocked through "System.Threading".
    public static unsafe class InterlockedWrapper
    {
        [Replacement("System.Threading", "System.Threading.Interlocked", "Increment")]
        public static int Increment(ref int location)
        {
            Report.Location(ApiTable.InterlockedIncrement, in location);
            return Interlocked.Increment(ref location);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Increment")]
        public static long Increment(ref long location)
        {
            Report.Location(ApiTable.InterlockedIncrement, in location);
            return Interlocked.Increment(ref location);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Increment")]
        public static uint Increment(ref uint location)
        {
            Report.Location(ApiTable.InterlockedIncrement, in location);
            return Interlocked.Increment(ref location);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Increment")]
        public static ulong Increment(ref ulong location)
        {
            Report.Location(ApiTable.InterlockedIncrement, in location);
            return Interlocked.Increment(ref location);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Decrement")]
        public static int Decrement(ref int location)
        {
            Report.Location(ApiTable.InterlockedDecrement, in location);
            return Interlocked.Decrement(ref location);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Decrement")]
        public static long Decrement(ref long location)
        {
            Report.Location(ApiTable.InterlockedDecrement, in location);
            return Interlocked.Decrement(ref location);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Decrement")]
        public static uint Decrement(ref uint location)
        {
            Report.Location(ApiTable.InterlockedDecrement, in location);
            return Interlocked.Decrement(ref location);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Decrement")]
        public static ulong Decrement(ref ulong location)
        {
            Report.Location(ApiTable.InterlockedDecrement, in location);
            return Interlocked.Decrement(ref location);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Add")]
        public static int Add(ref int location1, int value)
        {
            Report.Location(ApiTable.InterlockedAdd, in location1);
            return Interlocked.Add(ref location1, value);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Add")]
        public static long Add(ref long location1, long value)
        {
            Report.Location(ApiTable.InterlockedAdd, in location1);
            return Interlocked.Add(ref location1, value);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Add")]
        public static uint Add(ref uint location1, uint value)
        {
            Report.Location(ApiTable.InterlockedAdd, in location1);
            return Interlocked.Add(ref location1, value);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Add")]
        public static ulong Add(ref ulong location1, ulong value)
        {
            Report.Location(ApiTable.InterlockedAdd, in location1);
            return Interlocked.Add(ref location1, value);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Exchange")]
        public static int Exchange(ref int location1, int value)
        {
            Report.Location(ApiTable.InterlockedExchange, in location1);
            return Interlocked.Exchange(ref location1, value);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Exchange")]
        public static long Exchange(ref long location1, long value)
        {
            Report.Location(ApiTable.InterlockedExchange, in location1);
            return Interlocked.Exchange(ref location1, value);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Exchange")]
        public static uint Exchange(ref uint location1, uint value)
        {
            Report.Location(ApiTable.InterlockedExchange, in location1);
            return Interlocked.Exchange(ref location1, value);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Exchange")]
        public static ulong Exchange(ref ulong location1, ulong value)
        {
            Report.Location(ApiTable.InterlockedExchange, in location1);
            return Interlocked.Exchange(ref location1, value);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Exchange")]
        public static float Exchange(ref float location1, float value)
        {
            Report.Location(ApiTable.InterlockedExchange, in location1);
            return Interlocked.Exchange(ref location1, value);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Exchange")]
        public static double Exchange(ref double location1, double value)
        {
            Report.Location(ApiTable.InterlockedExchange, in location1);
            return Interlocked.Exchange(ref location1, value);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Exchange")]
        public static nint Exchange(ref nint location1, nint value)
        {
            Report.Location(ApiTable.InterlockedExchange, in location1);
            return Interlocked.Exchange(ref location1, value);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Exchange")]
        public static nuint Exchange(ref nuint location1, nuint value)
        {
            Report.Location(ApiTable.InterlockedExchange, in location1);
            return Interlocked.Exchange(ref location1, value);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Exchange")]
        public static object? Exchange(ref object? location1, object? value)
        {
            Report.Location(ApiTable.InterlockedExchange, in location1);
            return Interlocked.Exchange(ref location1, value);
        }

#if NET9_0_OR_GREATER
        [Replacement("System.Threading", "System.Threading.Interlocked", "Exchange")]
        public static T Exchange<T>(ref T location1, T value)
        {
            Report.Location(ApiTable.InterlockedExchange, in location1);
            return Interlocked.Exchange<T>(ref location1, value);
        }
#endif

        [Replacement("System.Threading", "System.Threading.Interlocked", "CompareExchange")]
        public static int CompareExchange(ref int location1, int value, int comparand)
        {
            Report.Location(ApiTable.InterlockedCompareExchange, in location1);
            return Interlocked.CompareExchange(ref location1, value, comparand);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "CompareExchange")]
        public static long CompareExchange(ref long location1, long value, long comparand)
        {
            Report.Location(ApiTable.InterlockedCompareExchange, in location1);
            return Interlocked.CompareExchange(ref location1, value, comparand);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "CompareExchange")]
        public static uint CompareExchange(ref uint location1, uint value, uint comparand)
        {
            Report.Location(ApiTable.InterlockedCompareExchange, in location1);
            return Interlocked.CompareExchange(ref location1, value, comparand);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "CompareExchange")]
        public static ulong CompareExchange(ref ulong location1, ulong value, ulong comparand)
        {
            Report.Location(ApiTable.InterlockedCompareExchange, in location1);
            return Interlocked.CompareExchange(ref location1, value, comparand);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "CompareExchange")]
        public static float CompareExchange(ref float location1, float value, float comparand)
        {
            Report.Location(ApiTable.InterlockedCompareExchange, in location1);
            return Interlocked.CompareExchange(ref location1, value, comparand);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "CompareExchange")]
        public static double CompareExchange(ref double location1, double value, double comparand)
        {
            Report.Location(ApiTable.InterlockedCompareExchange, in location1);
            return Interlocked.CompareExchange(ref location1, value, comparand);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "CompareExchange")]
        public static nint CompareExchange(ref nint location1, nint value, nint comparand)
        {
            Report.Location(ApiTable.InterlockedCompareExchange, in location1);
            return Interlocked.CompareExchange(ref location1, value, comparand);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "CompareExchange")]
        public static nuint CompareExchange(ref nuint location1, nuint value, nuint comparand)
        {
            Report.Location(ApiTable.InterlockedCompareExchange, in location1);
            return Interlocked.CompareExchange(ref location1, value, comparand);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "CompareExchange")]
        public static object? CompareExchange(ref object? location1, object? value, object? comparand)
        {
            Report.Location(ApiTable.InterlockedCompareExchange, in location1);
            return Interlocked.CompareExchange(ref location1, value, comparand);
        }

#if NET9_0_OR_GREATER
        [Replacement("System.Threading", "System.Threading.Interlocked", "CompareExchange")]
        public static T CompareExchange<T>(ref T location1, T value, T comparand)
        {
            Report.Location(ApiTable.InterlockedCompareExchange, in location1);
            return Interlocked.CompareExchange<T>(ref location1, value, comparand);
        }
#endif

        [Replacement("System.Threading", "System.Threading.Interlocked", "Read")]
        public static long Read(ref long location)
        {
            Report.Location(ApiTable.InterlockedRead, in location);
            return Interlocked.Read(ref location);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Read")]
        public static ulong Read(ref ulong location)
        {
            Report.Location(ApiTable.InterlockedRead, in location);
            return Interlocked.Read(ref location);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "And")]
        public static int And(ref int location1, int value)
        {
            Report.Location(ApiTable.InterlockedAnd, in location1);
            return Interlocked.And(ref location1, value);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "And")]
        public static long And(ref long location1, long value)
        {
            Report.Location(ApiTable.InterlockedAnd, in location1);
            return Interlocked.And(ref location1, value);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "And")]
        public static uint And(ref uint location1, uint value)
        {
            Report.Location(ApiTable.InterlockedAnd, in location1);
            return Interlocked.And(ref location1, value);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "And")]
        public static ulong And(ref ulong location1, ulong value)
        {
            Report.Location(ApiTable.InterlockedAnd, in location1);
            return Interlocked.And(ref location1, value);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Or")]
        public static int Or(ref int location1, int value)
        {
            Report.Location(ApiTable.InterlockedOr, in location1);
            return Interlocked.Or(ref location1, value);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Or")]
        public static long Or(ref long location1, long value)
        {
            Report.Location(ApiTable.InterlockedOr, in location1);
            return Interlocked.Or(ref location1, value);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Or")]
        public static uint Or(ref uint location1, uint value)
        {
            Report.Location(ApiTable.InterlockedOr, in location1);
            return Interlocked.Or(ref location1, value);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "Or")]
        public static ulong Or(ref ulong location1, ulong value)
        {
            Report.Location(ApiTable.InterlockedOr, in location1);
            return Interlocked.Or(ref location1, value);
        }

        [Replacement("System.Threading", "System.Threading.Interlocked", "MemoryBarrier")]
        public static void MemoryBarrier()
        {
            Report.Before(ApiTable.InterlockedMemoryBarrier, null);
            Interlocked.MemoryBarrier();
        }
    }

    // Replaces calls that name System.Threading.Volatile through "System.Threading".
    public static unsafe class VolatileWrapper
    {
        [Replacement("System.Threading", "System.Threading.Volatile", "Read")]
        public static bool Read(ref readonly bool location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Read")]
        public static byte Read(ref readonly byte location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Read")]
        public static sbyte Read(ref readonly sbyte location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Read")]
        public static short Read(ref readonly short location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Read")]
        public static ushort Read(ref readonly ushort location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Read")]
        public static int Read(ref readonly int location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Read")]
        public static uint Read(ref readonly uint location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Read")]
        public static long Read(ref readonly long location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Read")]
        public static ulong Read(ref readonly ulong location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Read")]
        public static float Read(ref readonly float location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Read")]
        public static double Read(ref readonly double location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Read")]
        public static nint Read(ref readonly nint location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Read")]
        public static nuint Read(ref readonly nuint location)
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read(in location);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Read")]
        public static T Read<T>(ref readonly T location) where T : class?
        {
            Report.Location(ApiTable.VolatileRead, in location);
            return Volatile.Read<T>(in location);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Write")]
        public static void Write(ref bool location, bool value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Write")]
        public static void Write(ref byte location, byte value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Write")]
        public static void Write(ref sbyte location, sbyte value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Write")]
        public static void Write(ref short location, short value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Write")]
        public static void Write(ref ushort location, ushort value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Write")]
        public static void Write(ref int location, int value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Write")]
        public static void Write(ref uint location, uint value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Write")]
        public static void Write(ref long location, long value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Write")]
        public static void Write(ref ulong location, ulong value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Write")]
        public static void Write(ref float location, float value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Write")]
        public static void Write(ref double location, double value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Write")]
        public static void Write(ref nint location, nint value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Write")]
        public static void Write(ref nuint location, nuint value)
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write(ref location, value);
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "Write")]
        public static void Write<T>(ref T location, T value) where T : class?
        {
            Report.Location(ApiTable.VolatileWrite, in location);
            Volatile.Write<T>(ref location, value);
        }

        private static class ReadBarrierOf
        {
            internal static readonly delegate*<void> Original = (delegate*<void>)Newer.Method(typeof(Volatile), "ReadBarrier");
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "ReadBarrier")]
        public static void ReadBarrier()
        {
            Report.Before(ApiTable.VolatileReadBarrier, null);
            ReadBarrierOf.Original();
        }

        private static class WriteBarrierOf
        {
            internal static readonly delegate*<void> Original = (delegate*<void>)Newer.Method(typeof(Volatile), "WriteBarrier");
        }

        [Replacement("System.Threading", "System.Threading.Volatile", "WriteBarrier")]
        public static void WriteBarrier()
        {
            Report.Before(ApiTable.VolatileWriteBarrier, null);
            WriteBarrierOf.Original();
        }
    }
}
