// Lock patterns for the lock-order analysis, one per scenario; "all" runs
// every one but "deadlock" in turn, on locks of its own. None of them
// deadlocks in the run unless asked to ("deadlock"): threads that take locks
// in opposite orders run one after the other. Each thread that takes locks
// prints "THREAD <scenario>/<name> <managed id>", so that findings can be
// checked against the threads that really took the locks.
using System;
using System.Collections.Generic;
using System.Linq;
using System.Runtime;
using System.Threading;

internal static class Program
{
    private static readonly object s_print = new object();
    private static string s_scenario = "";

    private static readonly Dictionary<string, Action> s_scenarios = new()
    {
        ["two"] = TwoThreadInversion, ["three"] = ThreeThreadRing, ["gated"] = Gated, ["ordered"] = Ordered,
        ["single"] = SingleThread, ["moved"] = MovedBetweenAcquisitions, ["tryfail"] = FailedTryEnter,
        ["waitpulse"] = WaitAndPulse, ["mutex"] = MutexInversion, ["semaphore"] = SemaphoreInversion,
        ["deadlock"] = RealDeadlock,
    };

    private static int Main(string[] args)
    {
        string scenario = args.Length > 0 ? args[0] : "";
        if (scenario == "loop")
        {
            Loop(int.Parse(args[1]));
            return 0;
        }
        var chosen = scenario == "all" ? s_scenarios.Keys.Where(k => k != "deadlock").ToArray() : new[] { scenario };
        foreach (string name in chosen)
        {
            if (!s_scenarios.TryGetValue(name, out Action? run))
            {
                Console.Error.WriteLine("unknown scenario: " + name);
                return 2;
            }
            s_scenario = name;
            run();
            Console.WriteLine("DONE " + name);
        }
        return 0;
    }

    // Runs body on a named thread to the end.
    private static void OnThread(string name, Action body)
    {
        var t = new Thread(() =>
        {
            lock (s_print) Console.WriteLine($"THREAD {s_scenario}/{name} {Environment.CurrentManagedThreadId}");
            body();
        });
        t.Start();
        t.Join();
    }

    private static void Both(object first, object second)
    {
        lock (first)
        {
            lock (second)
            {
                Thread.SpinWait(10);
            }
        }
    }

    private static void TwoThreadInversion()
    {
        object a = new object(), b = new object();
        OnThread("forward", () => { for (int i = 0; i < 100; i++) Both(a, b); });
        OnThread("backward", () => { for (int i = 0; i < 100; i++) Both(b, a); });
    }

    private static void ThreeThreadRing()
    {
        object a = new object(), b = new object(), c = new object();
        OnThread("ab", () => Both(a, b));
        OnThread("bc", () => Both(b, c));
        OnThread("ca", () => Both(c, a));
    }

    // Both orders, concurrently, but always inside one outer lock.
    private static void Gated()
    {
        object gate = new object(), a = new object(), b = new object();
        var threads = new List<Thread>();
        foreach (bool forward in new[] { true, false })
        {
            var t = new Thread(() =>
            {
                for (int i = 0; i < 200; i++)
                    lock (gate) Both(forward ? a : b, forward ? b : a);
            });
            threads.Add(t);
            t.Start();
        }
        foreach (var t in threads) t.Join();
    }

    private static void Ordered()
    {
        object a = new object(), b = new object(), c = new object();
        var threads = new List<Thread>();
        for (int n = 0; n < 3; n++)
        {
            var t = new Thread(() =>
            {
                for (int i = 0; i < 200; i++)
                {
                    Both(a, b);
                    Both(b, c);
                    Both(a, c);
                }
            });
            threads.Add(t);
            t.Start();
        }
        foreach (var t in threads) t.Join();
    }

    private static void SingleThread()
    {
        object a = new object(), b = new object();
        Both(a, b);
        Both(b, a);
    }

    private static unsafe IntPtr AddressOf(object o) => *(IntPtr*)System.Runtime.CompilerServices.Unsafe.AsPointer(ref o);

    // Each thread takes its outer lock, then collections compact the heap
    // (garbage allocated ahead of the locks makes them move), then the inner
    // lock. The program reports whether the objects moved.
    private static void MovedBetweenAcquisitions()
    {
        var garbage = new List<byte[]>();
        for (int i = 0; i < 2000; i++) garbage.Add(new byte[100]);
        object a = new object(), b = new object();
        garbage = null;
        IntPtr before = AddressOf(a);
        void Compact()
        {
            GCSettings.LargeObjectHeapCompactionMode = GCLargeObjectHeapCompactionMode.CompactOnce;
            GC.Collect(2, GCCollectionMode.Forced, blocking: true, compacting: true);
        }
        OnThread("forward", () => { lock (a) { Compact(); lock (b) { } } });
        OnThread("backward", () => { lock (b) { Compact(); lock (a) { } } });
        Console.WriteLine("MOVED " + (AddressOf(a) != before ? "yes" : "no"));
        GC.KeepAlive(garbage);
    }

    // A TryEnter that fails takes nothing: the lock taken after it is not
    // ordered after the one it failed to get.
    private static void FailedTryEnter()
    {
        object a = new object(), b = new object();
        var held = new ManualResetEventSlim();
        var tried = new ManualResetEventSlim();
        var holder = new Thread(() =>
        {
            lock (b)
            {
                held.Set();
                tried.Wait();
            }
        });
        holder.Start();
        held.Wait();
        OnThread("trier", () =>
        {
            bool got = Monitor.TryEnter(b);
            Console.WriteLine("TRYENTER " + (got ? "got" : "failed"));
            lock (a) { }
            if (got) Monitor.Exit(b);
        });
        tried.Set();
        holder.Join();
        OnThread("ordered", () => Both(a, b));
    }

    // Monitor.Wait gives its lock up; a consumer waiting inside it orders
    // nothing after it.
    private static void WaitAndPulse()
    {
        object queueLock = new object(), other = new object();
        var queue = new Queue<int>();
        var consumer = new Thread(() =>
        {
            for (int n = 0; n < 50; n++)
            {
                lock (queueLock)
                {
                    while (queue.Count == 0) Monitor.Wait(queueLock);
                    queue.Dequeue();
                }
                lock (other) { }
            }
        });
        consumer.Start();
        for (int n = 0; n < 50; n++)
        {
            lock (other)
            {
                lock (queueLock)
                {
                    queue.Enqueue(n);
                    Monitor.Pulse(queueLock);
                }
            }
        }
        consumer.Join();
    }

    private static void MutexInversion()
    {
        using var a = new Mutex();
        using var b = new Mutex();
        void Take(Mutex first, Mutex second)
        {
            first.WaitOne();
            second.WaitOne();
            second.ReleaseMutex();
            first.ReleaseMutex();
        }
        OnThread("forward", () => Take(a, b));
        OnThread("backward", () => Take(b, a));
    }

    private static void SemaphoreInversion()
    {
        var a = new SemaphoreSlim(1, 1);
        var b = new SemaphoreSlim(1, 1);
        void Take(SemaphoreSlim first, SemaphoreSlim second)
        {
            first.Wait();
            second.Wait();
            second.Release();
            first.Release();
        }
        OnThread("forward", () => Take(a, b));
        OnThread("backward", () => Take(b, a));
    }

    // For the cost benchmark: nested locks taken and released in a loop, the
    // time per iteration (two acquisitions, two releases) on standard output.
    private static void Loop(int iterations)
    {
        object a = new object(), b = new object();
        for (int i = 0; i < iterations / 10; i++) Both(a, b);
        var watch = System.Diagnostics.Stopwatch.StartNew();
        for (int i = 0; i < iterations; i++) Both(a, b);
        watch.Stop();
        Console.WriteLine("NS_PER_ITERATION " + (watch.Elapsed.TotalMilliseconds * 1e6 / iterations).ToString("F1", System.Globalization.CultureInfo.InvariantCulture));
    }

    // Two threads that really deadlock; the test kills the process.
    private static void RealDeadlock()
    {
        object a = new object(), b = new object();
        var both = new Barrier(2);
        var threads = new List<Thread>();
        foreach (bool forward in new[] { true, false })
        {
            var t = new Thread(() =>
            {
                lock (forward ? a : b)
                {
                    both.SignalAndWait();
                    lock (forward ? b : a) { }
                }
            });
            threads.Add(t);
            t.Start();
        }
        Console.WriteLine("DEADLOCKING");
        Console.Out.Flush();
        foreach (var t in threads) t.Join();
    }
}
