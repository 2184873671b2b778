// A small multi-threaded program for showing what the profiler sees: worker
// threads move money between accounts under locks, wait for each other and
// trigger a few garbage collections. Its output is deterministic.
using System;
using System.Collections.Generic;
using System.Threading;

namespace BankDemo
{
    internal sealed class Account
    {
        public long Balance;
    }

    internal static class Program
    {
        private const int AccountCount = 8;
        private const int WorkerCount = 4;
        private const int TransfersPerWorker = 2000;

        private static int Main()
        {
            var accounts = new Account[AccountCount];
            for (int i = 0; i < accounts.Length; i++) accounts[i] = new Account { Balance = 1000 };

            var done = new ManualResetEvent(false);
            int finished = 0;
            var workers = new List<Thread>();
            for (int w = 0; w < WorkerCount; w++)
            {
                int seed = w + 1;
                var t = new Thread(() =>
                {
                    var random = new Random(seed);
                    for (int n = 0; n < TransfersPerWorker; n++)
                    {
                        int from = random.Next(AccountCount);
                        int to = random.Next(AccountCount);
                        if (from == to) continue;
                        Transfer(accounts[from], accounts[to], random.Next(1, 50));
                        if (n % 500 == 0) GC.Collect();
                    }
                    if (Interlocked.Increment(ref finished) == WorkerCount) done.Set();
                });
                t.Name = "worker " + w;
                workers.Add(t);
                t.Start();
            }

            done.WaitOne();
            foreach (var t in workers) t.Join();

            long total = 0;
            foreach (var a in accounts) total += a.Balance;
            Console.WriteLine("workers: " + WorkerCount + ", transfers each: " + TransfersPerWorker);
            Console.WriteLine("total balance: " + total + " (expected " + (AccountCount * 1000) + ")");
            return total == AccountCount * 1000 ? 0 : 1;
        }

        // Locks both accounts in a fixed order so that transfers never deadlock.
        private static void Transfer(Account from, Account to, int amount)
        {
            Account first = from.GetHashCode() < to.GetHashCode() ? from : to;
            Account second = ReferenceEquals(first, from) ? to : from;
            lock (first)
            {
                lock (second)
                {
                    if (from.Balance < amount) return;
                    from.Balance -= amount;
                    to.Balance += amount;
                }
            }
        }
    }
}
