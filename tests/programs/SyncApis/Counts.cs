using System.Collections.Generic;
using System.Text;
using System.Threading;

namespace SyncApis
{
    // The program's own account of the synchronisation calls it makes, kept
    // without taking any lock of its own so that it adds no calls to count.
    internal static class Counts
    {
        private static readonly string[] s_apis = Names();

        // Every API the wrappers report, in no particular order.
        private static string[] Names()
        {
            var names = new List<string>
            {
                "System.Threading.Monitor.Enter", "System.Threading.Monitor.TryEnter", "System.Threading.Monitor.Exit",
                "System.Threading.Monitor.Wait", "System.Threading.Monitor.Pulse", "System.Threading.Monitor.PulseAll",
                "System.Threading.Thread..ctor", "System.Threading.Thread.Start", "System.Threading.Thread.Join",
                "System.Threading.Thread.Sleep", "System.Threading.Thread.Interrupt",
                "System.Threading.Thread.UnsafeStart", "System.Threading.Thread.Yield",
                "System.Threading.WaitHandle.WaitOne", "System.Threading.EventWaitHandle.Set",
                "System.Threading.EventWaitHandle.Reset", "System.Threading.Mutex..ctor",
                "System.Threading.Mutex.ReleaseMutex", "System.Threading.SemaphoreSlim..ctor",
                "System.Threading.SemaphoreSlim.Wait", "System.Threading.SemaphoreSlim.Release",
                "System.Threading.SemaphoreSlim.WaitAsync",
            };
            foreach (string m in new[] { "..ctor", ".EnterReadLock", ".TryEnterReadLock", ".ExitReadLock", ".EnterWriteLock",
                                         ".TryEnterWriteLock", ".ExitWriteLock", ".EnterUpgradeableReadLock",
                                         ".TryEnterUpgradeableReadLock", ".ExitUpgradeableReadLock" })
                names.Add("System.Threading.ReaderWriterLockSlim" + m);
            foreach (string m in new[] { "..ctor", ".AcquireReaderLock", ".ReleaseReaderLock", ".AcquireWriterLock",
                                         ".ReleaseWriterLock", ".UpgradeToWriterLock", ".DowngradeFromWriterLock",
                                         ".ReleaseLock", ".RestoreLock" })
                names.Add("System.Threading.ReaderWriterLock" + m);
            foreach (string m in new[] { "..ctor", ".Set", ".Reset", ".Wait" })
                names.Add("System.Threading.ManualResetEventSlim" + m);
            names.AddRange(new[] { "System.Threading.Semaphore..ctor", "System.Threading.Semaphore.Release",
                                   "System.Threading.AutoResetEvent..ctor", "System.Threading.ManualResetEvent..ctor" });
            foreach (string m in new[] { "..ctor", ".Signal", ".AddCount", ".TryAddCount", ".Reset", ".Wait" })
                names.Add("System.Threading.CountdownEvent" + m);
            foreach (string m in new[] { "..ctor", ".SignalAndWait", ".AddParticipant", ".AddParticipants",
                                         ".RemoveParticipant", ".RemoveParticipants" })
                names.Add("System.Threading.Barrier" + m);
            foreach (string m in new[] { "Increment", "Decrement", "Add", "Exchange", "CompareExchange", "Read", "And", "Or",
                                         "MemoryBarrier" })
                names.Add("System.Threading.Interlocked." + m);
            names.AddRange(new[] { "System.Threading.Volatile.Read", "System.Threading.Volatile.Write" });
            foreach (string m in new[] { "QueueUserWorkItem", "UnsafeQueueUserWorkItem", "RegisterWaitForSingleObject" })
                names.Add("System.Threading.ThreadPool." + m);
            names.AddRange(new[] { "System.Threading.Timer..ctor", "System.Threading.Timer.Change",
                                   "System.Threading.CancellationTokenSource.Cancel",
                                   "System.Threading.CancellationTokenSource.CancelAfter" });
            foreach (string m in new[] { "Run", "Start", "Wait", "WaitAll", "WaitAny", "ContinueWith", "WhenAll", "WhenAny" })
                names.Add("System.Threading.Tasks.Task." + m);
            names.AddRange(new[] { "System.Threading.Tasks.TaskFactory.StartNew", "System.Threading.Tasks.Parallel.For",
                                   "System.Threading.Tasks.Parallel.Invoke" });
            return names.ToArray();
        }

        // Reached through function pointers: the profiler rewrites calls, not
        // loads of a method's address, so the program's own bookkeeping is
        // never counted among the calls it keeps count of.
        private static readonly unsafe delegate*<ref long, long, long> s_add = &Interlocked.Add;

        private static readonly Dictionary<string, int> s_index = BuildIndex();
        private static readonly long[] s_counts = new long[s_apis.Length];

        private static Dictionary<string, int> BuildIndex()
        {
            var index = new Dictionary<string, int>();
            for (int i = 0; i < s_apis.Length; i++) index[s_apis[i]] = i;
            return index;
        }

        public static unsafe void Add(string api, int times = 1) => s_add(ref s_counts[s_index[api]], times);

        // One JSON object, API name to count, for the APIs called at least once.
        public static string ToJson()
        {
            var text = new StringBuilder("{");
            bool first = true;
            for (int i = 0; i < s_apis.Length; i++)
            {
                long n;
                unsafe { n = s_add(ref s_counts[i], 0); }
                if (n == 0) continue;
                if (!first) text.Append(", ");
                text.Append('"').Append(s_apis[i]).Append("\": ").Append(n);
                first = false;
            }
            return text.Append('}').ToString();
        }
    }
}
