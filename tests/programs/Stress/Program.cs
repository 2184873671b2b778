// Load for the profiler, for a bounded time: 64 threads take and release
// thousands of locks, short-lived threads start and end all the time, several
// threads force compacting collections while some locks are held across them,
// and hot methods climb through every compilation tier. At the end it prints
// its own counts, which the tool's report must match exactly.
//
//   Stress SECONDS
using System;
using System.Collections.Generic;
using System.Diagnostics;
using System.Runtime;
using System.Runtime.CompilerServices;
using System.Threading;

namespace Stress
{
    internal static class Program
    {
        private const int LockThreads = 64;
        private const int LockCount = 4096;
        private const int ShortThreads = 1000;
        private const int CollectorThreads = 3;

        private static readonly object[] s_locks = new object[LockCount];
        private static readonly int[] s_entered = new int[LockCount];
        private static long s_exits;
        private static long s_heldAcrossCollection;
        private static volatile bool s_stop;
        // Keeps garbage moving between collections so that compaction moves
        // the lock objects.
        private static readonly object?[] s_churn = new object?[1 << 14];

        private static int Main(string[] args)
        {
            double seconds = args.Length > 0 ? double.Parse(args[0], System.Globalization.CultureInfo.InvariantCulture) : 20;
            for (int i = 0; i < LockCount; i++) s_locks[i] = new object();
            GCSettings.LargeObjectHeapCompactionMode = GCLargeObjectHeapCompactionMode.CompactOnce;
            var clock = Stopwatch.StartNew();
            int gen2Before = GC.CollectionCount(2);

            var workers = new List<Thread>();
            for (int t = 0; t < LockThreads; t++) workers.Add(new Thread(LockLoop));
            for (int t = 0; t < CollectorThreads; t++) workers.Add(new Thread(CollectLoop));
            workers.Add(new Thread(HoldAcrossCollections));
            workers.Add(new Thread(StartShortThreads));
            foreach (Thread worker in workers) worker.Start(seconds);
            long tiered = Tiers.Climb(seconds);
            s_stop = true;
            foreach (Thread worker in workers) worker.Join();
            clock.Stop();

            long entered = 0;
            var perLock = new int[LockCount];
            for (int i = 0; i < LockCount; i++)
            {
                perLock[i] = s_entered[i];
                entered += perLock[i];
            }
            Array.Sort(perLock);
            Console.WriteLine("seconds " + clock.Elapsed.TotalSeconds.ToString("F1", System.Globalization.CultureInfo.InvariantCulture));
            Console.WriteLine("monitor-enter " + entered);
            Console.WriteLine("monitor-exit " + Interlocked.Read(ref s_exits));
            Console.WriteLine("threads " + (workers.Count + ShortThreads));
            Console.WriteLine("joins " + (workers.Count + ShortThreads));
            Console.WriteLine("held-across-collection " + Interlocked.Read(ref s_heldAcrossCollection));
            Console.WriteLine("gen2-collections " + (GC.CollectionCount(2) - gen2Before));
            Console.WriteLine("tiered " + tiered);
            Console.WriteLine("per-lock " + string.Join(",", perLock));
            return 0;
        }

        private static void LockLoop(object? seconds)
        {
            var random = new Random(Environment.CurrentManagedThreadId);
            while (!s_stop)
            {
                for (int i = 0; i < 256; i++)
                {
                    int index = random.Next(LockCount);
                    object gate = s_locks[index];
                    Monitor.Enter(gate);
                    s_entered[index]++;
                    if ((i & 15) == 0) s_churn[random.Next(s_churn.Length)] = new byte[random.Next(16, 512)];
                    Monitor.Exit(gate);
                    Interlocked.Increment(ref s_exits);
                }
            }
        }

        private static void CollectLoop(object? seconds)
        {
            while (!s_stop)
            {
                GC.Collect(2, GCCollectionMode.Forced, blocking: true, compacting: true);
                Thread.Sleep(50);
            }
        }

        // Takes a lock, waits until a full collection has moved the heap under
        // it, then releases it: the lock's identity must survive the move.
        private static void HoldAcrossCollections(object? seconds)
        {
            int round = 0;
            while (!s_stop)
            {
                int index = round++ % LockCount;
                object gate = s_locks[index];
                Monitor.Enter(gate);
                s_entered[index]++;
                int before = GC.CollectionCount(2);
                while (GC.CollectionCount(2) == before && !s_stop) Thread.Sleep(5);
                if (GC.CollectionCount(2) != before) Interlocked.Increment(ref s_heldAcrossCollection);
                Monitor.Exit(gate);
                Interlocked.Increment(ref s_exits);
            }
        }

        // Starts ShortThreads threads spread over most of the run, one after
        // the other, each taking a few locks before it ends.
        private static void StartShortThreads(object? seconds)
        {
            var clock = Stopwatch.StartNew();
            double spacingMs = (double)seconds! * 1000 * 0.8 / ShortThreads;
            for (int i = 0; i < ShortThreads; i++)
            {
                int first = i;
                var thread = new Thread(() =>
                {
                    for (int k = 0; k < 8; k++)
                    {
                        int index = (first * 8 + k) % LockCount;
                        object gate = s_locks[index];
                        Monitor.Enter(gate);
                        s_entered[index]++;
                        Monitor.Exit(gate);
                        Interlocked.Increment(ref s_exits);
                    }
                });
                thread.Start();
                thread.Join();
                double due = (i + 1) * spacingMs;
                double now = clock.Elapsed.TotalMilliseconds;
                if (due > now) Thread.Sleep(TimeSpan.FromMilliseconds(due - now));
            }
        }
    }

    // Methods called often enough to be compiled again at higher tiers, and a
    // long loop that is replaced on the stack.
    internal static class Tiers
    {
        public static long Climb(double seconds)
        {
            var clock = Stopwatch.StartNew();
            long sum = 0;
            while (clock.Elapsed.TotalSeconds < seconds)
            {
                for (int i = 0; i < 1000; i++) sum += Hot(i) + Warm(i);
                sum += Loop(200_000);
                Thread.Sleep(1);
            }
            return sum;
        }

        [MethodImpl(MethodImplOptions.NoInlining)]
        private static long Hot(int i) => (i * 31L) ^ (i >> 3);

        [MethodImpl(MethodImplOptions.NoInlining)]
        private static long Warm(int i) => i % 7 == 0 ? i : -i;

        [MethodImpl(MethodImplOptions.NoInlining)]
        private static long Loop(int n)
        {
            long total = 0;
            for (int i = 0; i < n; i++) total += i & 0xFF;
            return total;
        }
    }
}
