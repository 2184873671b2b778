using System;
using System.Threading;
using System.Threading.Tasks;

namespace SyncApis
{
    // Hand-overs through tasks: each round completes tasks on one thread and
    // observes them with await on another, in the ways programs do. The tool
    // can relate a completion to its observation only when both name the
    // same task. Prints ROUNDS n.
    internal static class AsyncCalls
    {
        private const int Rounds = 8;

        public static void Run()
        {
            int total = RunAsync().GetAwaiter().GetResult();
            Console.WriteLine("async: " + total);
            Console.WriteLine("shared: " + BumpTogether());
            Console.WriteLine("ROUNDS " + Rounds);
        }

        private static async Task<int> RunAsync()
        {
            int total = 0;
            for (int round = 0; round < Rounds; round++)
            {
                // Completed on a thread of its own while the awaiting method
                // has already yielded.
                var source = new TaskCompletionSource<int>(TaskCreationOptions.RunContinuationsAsynchronously);
                int value = round;
                var completer = new Thread(() =>
                {
                    Thread.Sleep(2);
                    source.SetResult(value);
                });
                completer.Start();
                total += await source.Task;
                completer.Join();
                // A Task.Run chain observed without the captured context.
                total += await Task.Run(() => Task.Run(() => value + 1)).ConfigureAwait(false);
                // An async method's own task, completed by its builder.
                total += await Later(value);
                total += await LaterValue(value);
            }
            Parallel.For(0, Rounds, i => Interlocked.Add(ref s_sum, i));
            return total + (int)Interlocked.Read(ref s_sum);
        }

        private static long s_sum;
        private static int s_shared;

        // Two threads bump one counter with no collection in between, so its
        // address names it throughout.
        private static int BumpTogether()
        {
            bool quiet = GC.TryStartNoGCRegion(16 << 20);
            var both = new Barrier(2);
            ThreadStart bump = () =>
            {
                both.SignalAndWait();
                for (int i = 0; i < 1000; i++) Interlocked.Increment(ref s_shared);
            };
            var other = new Thread(bump);
            other.Start();
            bump();
            other.Join();
            if (quiet && System.Runtime.GCSettings.LatencyMode == System.Runtime.GCLatencyMode.NoGCRegion)
                GC.EndNoGCRegion();
            return Volatile.Read(ref s_shared);
        }

        // Yield always suspends the method, so its builder completes the task
        // its caller awaits. A short delay can end before the await looks at
        // it on a busy machine; the method then finishes at once, and its
        // result is a cached task that the builder never held.
        private static async Task<int> Later(int value)
        {
            await Task.Yield();
            return value * 2;
        }

        private static async ValueTask<int> LaterValue(int value)
        {
            await Task.Yield();
            return value * 3;
        }
    }
}
