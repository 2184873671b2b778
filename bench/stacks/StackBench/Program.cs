using System;
using System.Diagnostics;
using System.Runtime.CompilerServices;
using System.Threading;

// At the bottom of a 20-frame recursion: the time of one
// `new StackTrace(false)` and of one lock (whose report makes the tool walk
// the stack when it captures stacks), in nanoseconds, median of rounds.
static class Program
{
    static readonly object Gate = new object();
    static int Counter;

    [MethodImpl(MethodImplOptions.NoInlining)]
    static double[] Recurse(int depth, int calls)
    {
        if (depth > 1) return Recurse(depth - 1, calls);
        return new[] { Time(calls, () => new StackTrace(false)), Time(calls, () => { lock (Gate) Counter++; }) };
    }

    [MethodImpl(MethodImplOptions.NoInlining)]
    static double Time(int calls, Action action)
    {
        for (int i = 0; i < calls / 10 + 1; i++) action();
        var watch = Stopwatch.StartNew();
        for (int i = 0; i < calls; i++) action();
        return watch.Elapsed.TotalMilliseconds * 1e6 / calls;
    }

    static void Main(string[] args)
    {
        int calls = args.Length > 0 ? int.Parse(args[0]) : 20000;
        var trace = new double[5];
        var locks = new double[5];
        for (int round = 0; round < 5; round++)
        {
            double[] r = Recurse(20, calls);
            trace[round] = r[0];
            locks[round] = r[1];
        }
        Array.Sort(trace);
        Array.Sort(locks);
        Console.WriteLine($"{{\"stacktrace_ns\": {trace[2]:F1}, \"lock_ns\": {locks[2]:F1}, \"locks\": {Counter}}}");
    }
}
