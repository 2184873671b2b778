using System;
using System.Threading;

namespace SyncApis
{
    internal static class LockCalls
    {
        private static int s_guarded = 0;

        public static void Run()
        {
            bool taken = true;
#if NET9_0_OR_GREATER
            Lock gate = new Lock();
            Counts.Add("Lock..ctor");
            Counts.Do(("Lock.Enter", () => gate.Enter()), ("Lock.Exit", () => gate.Exit()),
                      ("Lock.TryEnter", () => taken = gate.TryEnter()), ("Lock.Exit", () => gate.Exit()),
                      ("Lock.TryEnter", () => taken &= gate.TryEnter(10)), ("Lock.Exit", () => gate.Exit()),
                      ("Lock.TryEnter", () => taken &= gate.TryEnter(TimeSpan.FromMilliseconds(10))), ("Lock.Exit", () => gate.Exit()));
            // The statement form compiles to EnterScope and the scope's Dispose.
            lock (gate)
            {
                s_guarded++;
            }
            using (gate.EnterScope())
            {
                s_guarded++;
            }
            Counts.Add("Lock.EnterScope", 2);
            Counts.Add("Lock+Scope.Dispose", 2);
#endif
            var slim = new ReaderWriterLockSlim();
            var recursive = new ReaderWriterLockSlim(LockRecursionPolicy.SupportsRecursion);
            Counts.Add("ReaderWriterLockSlim..ctor", 2);
            var ms = TimeSpan.FromMilliseconds(10);
            // Each line takes a lock and gives it back.
            const string S = "ReaderWriterLockSlim.";
            Counts.Do((S + "EnterReadLock", () => slim.EnterReadLock()), (S + "ExitReadLock", () => slim.ExitReadLock()),
                      (S + "EnterWriteLock", () => slim.EnterWriteLock()), (S + "ExitWriteLock", () => slim.ExitWriteLock()),
                      (S + "EnterUpgradeableReadLock", () => slim.EnterUpgradeableReadLock()), (S + "ExitUpgradeableReadLock", () => slim.ExitUpgradeableReadLock()),
                      (S + "TryEnterReadLock", () => taken &= slim.TryEnterReadLock(10)), (S + "ExitReadLock", () => slim.ExitReadLock()),
                      (S + "TryEnterReadLock", () => taken &= slim.TryEnterReadLock(ms)), (S + "ExitReadLock", () => slim.ExitReadLock()),
                      (S + "TryEnterWriteLock", () => taken &= recursive.TryEnterWriteLock(10)), (S + "ExitWriteLock", () => recursive.ExitWriteLock()),
                      (S + "TryEnterWriteLock", () => taken &= recursive.TryEnterWriteLock(ms)), (S + "ExitWriteLock", () => recursive.ExitWriteLock()),
                      (S + "TryEnterUpgradeableReadLock", () => taken &= slim.TryEnterUpgradeableReadLock(10)), (S + "ExitUpgradeableReadLock", () => slim.ExitUpgradeableReadLock()),
                      (S + "TryEnterUpgradeableReadLock", () => taken &= slim.TryEnterUpgradeableReadLock(ms)), (S + "ExitUpgradeableReadLock", () => slim.ExitUpgradeableReadLock()));

            var old = new ReaderWriterLock();
            Counts.Add("ReaderWriterLock..ctor");
            LockCookie cookie = default, released = default;
            bool writer = false;
            var second = TimeSpan.FromSeconds(1);
            const string R = "ReaderWriterLock.";
            Counts.Do((R + "AcquireReaderLock", () => old.AcquireReaderLock(1000)), (R + "UpgradeToWriterLock", () => cookie = old.UpgradeToWriterLock(1000)),
                      (R + "DowngradeFromWriterLock", () => old.DowngradeFromWriterLock(ref cookie)), (R + "ReleaseReaderLock", () => old.ReleaseReaderLock()),
                      (R + "AcquireWriterLock", () => old.AcquireWriterLock(second)), (R + "ReleaseLock", () => released = old.ReleaseLock()),
                      (R + "RestoreLock", () => old.RestoreLock(ref released)), (R + "ReleaseWriterLock", () => old.ReleaseWriterLock()),
                      (R + "AcquireReaderLock", () => old.AcquireReaderLock(second)),
                      (R + "UpgradeToWriterLock", () => { cookie = old.UpgradeToWriterLock(second); writer = old.IsWriterLockHeld; }),
                      (R + "DowngradeFromWriterLock", () => old.DowngradeFromWriterLock(ref cookie)), (R + "ReleaseReaderLock", () => old.ReleaseReaderLock()),
                      (R + "AcquireWriterLock", () => old.AcquireWriterLock(1000)), (R + "ReleaseWriterLock", () => old.ReleaseWriterLock()));
            Console.WriteLine("locks: taken " + taken + ", guarded " + s_guarded + ", writer after upgrade " + writer +
                              ", held at the end " + old.IsReaderLockHeld);
        }
    }
}
