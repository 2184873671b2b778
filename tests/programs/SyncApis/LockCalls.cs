using System;
using System.Threading;

namespace SyncApis
{
    internal static class LockCalls
    {
        private static int s_guarded = 0;

        public static void Run()
        {
            // Lock is newer than the oldest runtime the wrapper assembly is
            // built for, so its calls stay unredirected and uncounted: the
            // program only shows that its output is unchanged.
#if NET9_0_OR_GREATER
            Lock gate = new Lock();
            gate.Enter();
            gate.Exit();
            bool taken = gate.TryEnter();
            gate.Exit();
            taken &= gate.TryEnter(10);
            gate.Exit();
            taken &= gate.TryEnter(TimeSpan.FromMilliseconds(10));
            gate.Exit();
            // The statement form compiles to EnterScope and the scope's Dispose.
            lock (gate)
            {
                s_guarded++;
            }
            using (gate.EnterScope())
            {
                s_guarded++;
            }
#else
            bool taken = true;
#endif
            var slim = new ReaderWriterLockSlim();
            var recursive = new ReaderWriterLockSlim(LockRecursionPolicy.SupportsRecursion);
            Counts.Add("System.Threading.ReaderWriterLockSlim..ctor", 2);
            slim.EnterReadLock();
            slim.ExitReadLock();
            slim.EnterWriteLock();
            slim.ExitWriteLock();
            slim.EnterUpgradeableReadLock();
            slim.ExitUpgradeableReadLock();
            taken &= slim.TryEnterReadLock(10);
            slim.ExitReadLock();
            taken &= slim.TryEnterReadLock(TimeSpan.FromMilliseconds(10));
            slim.ExitReadLock();
            taken &= recursive.TryEnterWriteLock(10);
            taken &= recursive.TryEnterWriteLock(TimeSpan.FromMilliseconds(10));
            recursive.ExitWriteLock();
            recursive.ExitWriteLock();
            taken &= slim.TryEnterUpgradeableReadLock(10);
            slim.ExitUpgradeableReadLock();
            taken &= slim.TryEnterUpgradeableReadLock(TimeSpan.FromMilliseconds(10));
            slim.ExitUpgradeableReadLock();
            Counts.Add("System.Threading.ReaderWriterLockSlim.EnterReadLock");
            Counts.Add("System.Threading.ReaderWriterLockSlim.ExitReadLock", 3);
            Counts.Add("System.Threading.ReaderWriterLockSlim.EnterWriteLock");
            Counts.Add("System.Threading.ReaderWriterLockSlim.ExitWriteLock", 3);
            Counts.Add("System.Threading.ReaderWriterLockSlim.EnterUpgradeableReadLock");
            Counts.Add("System.Threading.ReaderWriterLockSlim.ExitUpgradeableReadLock", 3);
            Counts.Add("System.Threading.ReaderWriterLockSlim.TryEnterReadLock", 2);
            Counts.Add("System.Threading.ReaderWriterLockSlim.TryEnterWriteLock", 2);
            Counts.Add("System.Threading.ReaderWriterLockSlim.TryEnterUpgradeableReadLock", 2);

            var old = new ReaderWriterLock();
            Counts.Add("System.Threading.ReaderWriterLock..ctor");
            old.AcquireReaderLock(1000);
            LockCookie cookie = old.UpgradeToWriterLock(1000);
            old.DowngradeFromWriterLock(ref cookie);
            old.ReleaseReaderLock();
            old.AcquireWriterLock(TimeSpan.FromSeconds(1));
            LockCookie released = old.ReleaseLock();
            old.RestoreLock(ref released);
            old.ReleaseWriterLock();
            old.AcquireReaderLock(TimeSpan.FromSeconds(1));
            cookie = old.UpgradeToWriterLock(TimeSpan.FromSeconds(1));
            bool writer = old.IsWriterLockHeld;
            old.DowngradeFromWriterLock(ref cookie);
            old.ReleaseReaderLock();
            old.AcquireWriterLock(1000);
            old.ReleaseWriterLock();
            Counts.Add("System.Threading.ReaderWriterLock.AcquireReaderLock", 2);
            Counts.Add("System.Threading.ReaderWriterLock.UpgradeToWriterLock", 2);
            Counts.Add("System.Threading.ReaderWriterLock.DowngradeFromWriterLock", 2);
            Counts.Add("System.Threading.ReaderWriterLock.ReleaseReaderLock", 2);
            Counts.Add("System.Threading.ReaderWriterLock.AcquireWriterLock", 2);
            Counts.Add("System.Threading.ReaderWriterLock.ReleaseLock");
            Counts.Add("System.Threading.ReaderWriterLock.RestoreLock");
            Counts.Add("System.Threading.ReaderWriterLock.ReleaseWriterLock", 2);
            Console.WriteLine("locks: taken " + taken + ", guarded " + s_guarded + ", writer after upgrade " + writer +
                              ", held at the end " + old.IsReaderLockHeld);
        }
    }
}
