using System;
using System.Collections.Generic;
using System.Linq;
using System.Text;
using System.Threading;

namespace SyncApis
{
    // The program's own account of the synchronisation calls it makes, kept
    // without taking any lock of its own so that it adds no calls to count.
    internal static class Counts
    {
        // Every API the wrappers report, by type under System.Threading.
        private static readonly string[] s_apis = new[]
        {
            "Monitor: Enter TryEnter Exit Wait Pulse PulseAll",
            "Thread: .ctor Start Join Sleep Interrupt UnsafeStart Yield",
            "WaitHandle: WaitOne", "EventWaitHandle: Set Reset", "Mutex: .ctor ReleaseMutex",
            "SemaphoreSlim: .ctor Wait Release WaitAsync", "Lock: .ctor Enter TryEnter Exit EnterScope", "Lock+Scope: Dispose",
            "ReaderWriterLockSlim: .ctor EnterReadLock TryEnterReadLock ExitReadLock EnterWriteLock TryEnterWriteLock " +
                "ExitWriteLock EnterUpgradeableReadLock TryEnterUpgradeableReadLock ExitUpgradeableReadLock",
            "ReaderWriterLock: .ctor AcquireReaderLock ReleaseReaderLock AcquireWriterLock ReleaseWriterLock " +
                "UpgradeToWriterLock DowngradeFromWriterLock ReleaseLock RestoreLock",
            "ManualResetEventSlim: .ctor Set Reset Wait", "Semaphore: .ctor Release",
            "AutoResetEvent: .ctor", "ManualResetEvent: .ctor", "CountdownEvent: .ctor Signal AddCount TryAddCount Reset Wait",
            "Barrier: .ctor SignalAndWait AddParticipant AddParticipants RemoveParticipant RemoveParticipants",
            "Interlocked: Increment Decrement Add Exchange CompareExchange Read And Or MemoryBarrier", "Volatile: Read Write",
            "ThreadPool: QueueUserWorkItem UnsafeQueueUserWorkItem RegisterWaitForSingleObject", "Timer: .ctor Change",
            "CancellationTokenSource: Cancel CancelAfter .ctor", "Tasks.Task: Run Start Wait WaitAll WaitAny ContinueWith WhenAll WhenAny",
            "Tasks.TaskFactory: StartNew", "Tasks.Parallel: For Invoke", "Tasks.TaskCompletionSource: .ctor SetResult",
            "Tasks.Task`1: get_Result", "Tasks.TaskCompletionSource`1: .ctor SetResult",
            "System.Runtime.CompilerServices.TaskAwaiter`1: GetResult",
            "System.Runtime.CompilerServices.ConfiguredTaskAwaitable`1+ConfiguredTaskAwaiter: GetResult",
            "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1: Start AwaitUnsafeOnCompleted SetResult",
            "System.Runtime.CompilerServices.TaskAwaiter: GetResult",
            "System.Runtime.CompilerServices.ConfiguredTaskAwaitable+ConfiguredTaskAwaiter: GetResult",
            "System.Runtime.CompilerServices.AsyncTaskMethodBuilder: SetResult",
        }.SelectMany(family =>
        {
            string[] parts = family.Split(": ");
            string type = parts[0].StartsWith("System.", StringComparison.Ordinal) ? parts[0] : "System.Threading." + parts[0];
            return parts[1].Split(' ', StringSplitOptions.RemoveEmptyEntries).Select(m => $"{type}.{m}");
        }).ToArray();

        // Reached through function pointers: the profiler rewrites calls, not
        // loads of a method's address, so the program's own bookkeeping is
        // never counted among the calls it keeps count of.
        private static readonly unsafe delegate*<ref long, long, long> s_add = &Interlocked.Add;

        // By full name, and by the name after "System.Threading.".
        private static readonly Dictionary<string, int> s_index = BuildIndex();
        private static readonly long[] s_counts = new long[s_apis.Length];

        private static Dictionary<string, int> BuildIndex()
        {
            var index = new Dictionary<string, int>();
            for (int i = 0; i < s_apis.Length; i++)
            {
                index[s_apis[i]] = i;
                if (s_apis[i].StartsWith("System.Threading.", StringComparison.Ordinal))
                    index[s_apis[i].Substring("System.Threading.".Length)] = i;
            }
            return index;
        }

        public static unsafe void Add(string api, int times = 1) => s_add(ref s_counts[s_index[api]], times);

        // Makes each call in turn and counts it under its API: a row names
        // what it counts.
        public static void Do(params (string Api, Action Call)[] rows)
        {
            foreach (var (api, call) in rows)
            {
                call();
                Add(api);
            }
        }

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
