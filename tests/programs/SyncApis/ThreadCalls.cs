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
            Counts.Add("System.Threading.Thread..ctor", threads.Length);
            threads[0].Start();
            threads[1].Start();
            Counts.Add("System.Threading.Thread.Start", 2);
            threads[2].Start(10);
            threads[3].Start(100);
            Counts.Add("System.Threading.Thread.Start", 2);
            threads[0].Join();
            bool joined = threads[1].Join(10_000);
            joined &= threads[2].Join(TimeSpan.FromSeconds(10));
            threads[3].Join();
            Counts.Add("System.Threading.Thread.Join", 4);
            Counts.Add("System.Threading.Interlocked.Increment", 2);
            Counts.Add("System.Threading.Interlocked.Add", 2);
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
#if NET5_0_OR_GREATER
            sleeper.UnsafeStart();
#else
            sleeper.Start();
#endif
            Counts.Add("System.Threading.Thread..ctor");
            Counts.Add("System.Threading.Thread.UnsafeStart");
            sleeper.Interrupt();
            Counts.Add("System.Threading.Thread.Interrupt");
            sleeper.Join();
            Counts.Add("System.Threading.Thread.Join");
            Counts.Add("System.Threading.Thread.Sleep");
            var withState = new Thread(state => Thread.Sleep(TimeSpan.FromMilliseconds((int)state!)));
#if NET5_0_OR_GREATER
            withState.UnsafeStart(1);
#else
            withState.Start(1);
#endif
            withState.Join();
            Thread.Yield();
            Counts.Add("System.Threading.Thread..ctor");
            Counts.Add("System.Threading.Thread.UnsafeStart");
            Counts.Add("System.Threading.Thread.Sleep");
            Counts.Add("System.Threading.Thread.Join");
            Counts.Add("System.Threading.Thread.Yield");
        }
    }
}
