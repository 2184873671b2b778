using System;
using System.Threading;

namespace SyncApis
{
    internal static class ThreadCalls
    {
        private static int s_ran;

        public static void Run()
        {
            var threads = new[]
            {
                new Thread(() => Interlocked.Increment(ref s_ran)),
                new Thread(() => Interlocked.Increment(ref s_ran), 256 * 1024),
                new Thread(state => Interlocked.Add(ref s_ran, (int)state!)),
                new Thread(state => Interlocked.Add(ref s_ran, (int)state!), 256 * 1024),
            };
            bool joined = true;
            Counts.Add("Thread..ctor", threads.Length);
            Counts.Do(("Thread.Start", () => threads[0].Start()), ("Thread.Start", () => threads[1].Start()),
                      ("Thread.Start", () => threads[2].Start(10)), ("Thread.Start", () => threads[3].Start(100)),
                      ("Thread.Join", () => threads[0].Join()), ("Thread.Join", () => joined &= threads[1].Join(10_000)),
                      ("Thread.Join", () => joined &= threads[2].Join(TimeSpan.FromSeconds(10))), ("Thread.Join", () => threads[3].Join()));
            // The threads' own.
            Counts.Add("Interlocked.Increment", 2);
            Counts.Add("Interlocked.Add", 2);
            Console.WriteLine("threads: ran " + s_ran + ", joined " + joined);

            // Interrupting a thread that sleeps wakes it with an exception.
            var sleeper = new Thread(() =>
            {
                try
                {
                    Thread.Sleep(Timeout.Infinite);
                }
                catch (ThreadInterruptedException)
                {
                    Console.WriteLine("sleeper interrupted");
                }
            });
            var withState = new Thread(state => Thread.Sleep(TimeSpan.FromMilliseconds((int)state!)));
            Counts.Add("Thread..ctor", 2);
            Counts.Add("Thread.Sleep", 2);
#if NET5_0_OR_GREATER
            Counts.Do(("Thread.UnsafeStart", () => sleeper.UnsafeStart()), ("Thread.UnsafeStart", () => withState.UnsafeStart(1)),
#else
            Counts.Do(("Thread.Start", () => sleeper.Start()), ("Thread.Start", () => withState.Start(1)),
#endif
                      ("Thread.Interrupt", () => sleeper.Interrupt()), ("Thread.Join", () => sleeper.Join()),
                      ("Thread.Join", () => withState.Join()), ("Thread.Yield", () => Thread.Yield()));
        }
    }
}
