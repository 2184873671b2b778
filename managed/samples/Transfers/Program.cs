// Money moves between two accounts, each guarded by its own lock.
//
//   Transfers argument-order   Transfer locks the account it takes money from,
//                              then the one it pays into. Payroll pays Alice to
//                              Bob, later refunds pay Bob to Alice: the run
//                              finishes, but had the two overlapped, each would
//                              hold one lock and wait for the other for ever.
//   Transfers gated            The same transfers, at the same time, but every
//                              transfer first takes the bank's one gate lock:
//                              safe, if slower.
using System;
using System.Threading;

namespace Transfers
{
    internal sealed class Account
    {
        public Account(string owner, long balance)
        {
            Owner = owner;
            Balance = balance;
        }

        public string Owner { get; }
        public long Balance { get; set; }
    }

    internal static class Program
    {
        private const int Rounds = 1000;
        private static readonly object s_gate = new object();

        private static int Main(string[] args)
        {
            bool gated = args.Length > 0 && args[0] == "gated";
            if (args.Length != 1 || (!gated && args[0] != "argument-order"))
            {
                Console.Error.WriteLine("usage: Transfers argument-order|gated");
                return 2;
            }
            var alice = new Account("Alice", 5000);
            var bob = new Account("Bob", 5000);
            var payroll = new Thread(() => Repeat(() => Pay(alice, bob, 3, gated))) { Name = "payroll" };
            var refunds = new Thread(() => Repeat(() => Pay(bob, alice, 2, gated))) { Name = "refunds" };
            payroll.Start();
            if (!gated) payroll.Join();
            refunds.Start();
            payroll.Join();
            refunds.Join();
            Console.WriteLine("{0} transfers each way, {1}", Rounds, gated ? "at the same time, under the gate lock" : "one way after the other");
            Console.WriteLine("{0}: {1}, {2}: {3}", alice.Owner, alice.Balance, bob.Owner, bob.Balance);
            return alice.Balance + bob.Balance == 10000 ? 0 : 1;
        }

        private static void Repeat(Action transfer)
        {
            for (int i = 0; i < Rounds; i++) transfer();
        }

        private static void Pay(Account from, Account to, long amount, bool gated)
        {
            if (!gated)
            {
                Transfer(from, to, amount);
                return;
            }
            lock (s_gate)
            {
                Transfer(from, to, amount);
            }
        }

        private static void Transfer(Account from, Account to, long amount)
        {
            lock (from)
            {
                lock (to)
                {
                    from.Balance -= amount;
                    to.Balance += amount;
                }
            }
        }
    }
}
