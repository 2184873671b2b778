using System;
using System.Collections.Generic;
using System.Threading;

namespace SyncApis
{
    // Locks objects across compacting collections, so that the tool can show
    // whether each keeps one identity. Each object is locked a distinct number
    // of times, which is how a reader tells them apart.
    internal static class ObjectCalls
    {
        private const string Literal = "a string literal lives outside the collected heap";

        public static void Run()
        {
            var garbage = new List<byte[]>();
            for (int i = 0; i < 2000; i++) garbage.Add(new byte[64]);
            var gate = new object();
            var first = new object();
            var second = new object();
            garbage.Clear();

            for (int round = 0; round < 10; round++)
            {
                LockTimes(gate, 4);
                LockTimes(Literal, 1);
                LockTimes(typeof(ObjectCalls), 2);
                // Allocate and drop objects around the locked ones, then move
                // everything that survives.
                for (int i = 0; i < 1000; i++) garbage.Add(new byte[32 + i % 64]);
                if (round % 2 == 0) garbage.Clear();
                GC.Collect(2, GCCollectionMode.Forced, blocking: true, compacting: true);
                GC.Collect(0, GCCollectionMode.Forced, blocking: true, compacting: true);
            }
            LockTimes(first, 3);
            LockTimes(second, 5);
            Console.WriteLine("LOCKS gate=40 literal=10 type=20 first=3 second=5");
        }

        private static void LockTimes(object target, int times)
        {
            for (int i = 0; i < times; i++)
            {
                Monitor.Enter(target);
                Counts.Add("System.Threading.Monitor.Enter");
                Monitor.Exit(target);
                Counts.Add("System.Threading.Monitor.Exit");
            }
        }
    }
}
