using System;
using System.Collections.Generic;
using System.Diagnostics;
using System.Runtime.CompilerServices;
using System.Text.Json;
using System.Threading;

// Takes locks at known call chains. At each one it writes, just before the
// lock, what the runtime's own stack trace says about the chain: per frame
// the module, the method's metadata token and its name. A test compares
// that with the stacks the tool captured for the same locks.
static class Program
{
    static readonly object Gate = new object();
    static readonly Dictionary<string, List<object[]>> Traces = new();

    [MethodImpl(MethodImplOptions.NoInlining)]
    static void Record(string scenario)
    {
        // Skips Record itself: the chain starts at the method that locks.
        var trace = new StackTrace(1, false);
        var frames = new List<object[]>();
        foreach (StackFrame frame in trace.GetFrames())
        {
            var method = frame.GetMethod();
            if (method == null) continue;
            frames.Add(new object[] { method.Module.Name, method.MetadataToken,
                                      method.DeclaringType?.FullName + "." + method.Name });
        }
        Traces[scenario] = frames;
    }

    [MethodImpl(MethodImplOptions.NoInlining)]
    static void LockHere(string scenario)
    {
        Record(scenario);
        lock (Gate) { Counter++; }
    }

    static int Counter;

    [MethodImpl(MethodImplOptions.NoInlining)] static void Deep1() => Deep2();
    [MethodImpl(MethodImplOptions.NoInlining)] static void Deep2() => Deep3();
    [MethodImpl(MethodImplOptions.NoInlining)] static void Deep3() => LockHere("deep");

    [MethodImpl(MethodImplOptions.NoInlining)]
    static void Generic<T>(T value) => LockHere("generic");

    // Called often enough to be compiled again at the optimising tier; the
    // last call is the recorded one.
    [MethodImpl(MethodImplOptions.NoInlining)]
    static void Hot(bool record)
    {
        if (record) LockHere("tiered");
        else Counter++;
    }

    // Small enough to be inlined into its caller, which then locks.
    [MethodImpl(MethodImplOptions.AggressiveInlining)]
    static int Inlined(int x) => x + 1;

    [MethodImpl(MethodImplOptions.NoInlining)]
    static void CallsInlined()
    {
        Counter = Inlined(Counter);
        LockHere("inlined");
    }

    static void Main()
    {
        Deep1();
        Action lambda = () => LockHere("lambda");
        lambda();
        Generic(42);
        Generic("text");
        for (int round = 0; round < 4; round++)
        {
            for (int i = 0; i < 200; i++) Hot(false);
            Thread.Sleep(150);
        }
        Hot(true);
        CallsInlined();
        var thread = new Thread(() => LockHere("thread"));
        thread.Start();
        thread.Join();
        Console.WriteLine(JsonSerializer.Serialize(Traces));
        Console.WriteLine("counter " + Counter);
    }
}
