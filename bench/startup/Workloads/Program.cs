using System;
using System.Collections.Generic;
using System.Linq;
using System.Threading;

// The programs the start-up benchmark runs, one per mode. Each prints a
// result that does not depend on the profiler, so a run under it can be
// checked against a plain run.
//
//   hello             a small program as a new user writes it (LINQ, a lock)
//   locks [pairs]     two threads taking and releasing shared locks
//   objects [count]   many locked objects kept alive through collections
internal static class Program
{
    private static readonly object Gate = new object();

    private static int Main(string[] args)
    {
        string mode = args.Length > 0 ? args[0] : "hello";
        int count = args.Length > 1 ? int.Parse(args[1]) : 0;
        switch (mode)
        {
            case "hello": return Hello();
            case "locks": return Locks(count > 0 ? count : 450_000);
            case "objects": return Objects(count > 0 ? count : 200_000);
            default:
                Console.Error.WriteLine("unknown mode " + mode);
                return 2;
        }
    }

    private static int Hello()
    {
        var words = new[] { "hello", "from", "a", "small", "program", "under", "test" };
        var lengths = words.Where(w => w.Length > 1).Select(w => w.Length).OrderBy(n => n).ToList();
        int total;
        lock (Gate) total = lengths.Sum();
        Console.WriteLine("hello world: " + string.Join(",", lengths) + " total=" + total);
        return 0;
    }

    // 2 * pairs lock/unlock pairs on a few shared objects, contended now and
    // then: the redirected calls dominate the run.
    private static int Locks(int pairs)
    {
        var gates = new object[4];
        for (int i = 0; i < gates.Length; i++) gates[i] = new object();
        long sum = 0;
        ThreadStart body = () =>
        {
            long local = 0;
            for (int i = 0; i < pairs; i++)
            {
                object g = gates[i & 3];
                Monitor.Enter(g);
                local += i & 7;
                Monitor.Exit(g);
            }
            Interlocked.Add(ref sum, local);
        };
        var threads = new[] { new Thread(body), new Thread(body) };
        foreach (Thread t in threads) t.Start();
        foreach (Thread t in threads) t.Join();
        Console.WriteLine("locks sum=" + sum);
        return 0;
    }

    // Every object is locked once, so under the profiler each one gets an
    // identity that must survive the compacting collections that follow.
    private static int Objects(int count)
    {
        var keep = new object[count];
        var garbage = new List<byte[]>();
        for (int i = 0; i < count; i++)
        {
            keep[i] = new object();
            garbage.Add(new byte[24 + i % 40]);
            lock (keep[i]) { }
        }
        garbage.Clear();
        for (int round = 0; round < 5; round++)
        {
            for (int i = round; i < count; i += 5)
            {
                keep[i] = new object();
                lock (keep[i]) { }
            }
            GC.Collect(2, GCCollectionMode.Forced, blocking: true, compacting: true);
        }
        Console.WriteLine("objects kept=" + keep.Count(o => o != null));
        return 0;
    }
}
