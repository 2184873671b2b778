using System;
using System.Threading;

namespace WrapperCheck
{
    internal sealed partial class Behaviour
    {
        private void Threads(string f)
        {
            const string C = "System.Threading.Thread";
            var create = Get<Func<ThreadStart, Thread>>(f, C, ".ctor");
            var createSized = Get<Func<ThreadStart, int, Thread>>(f, C, ".ctor");
            var createParam = Get<Func<ParameterizedThreadStart, Thread>>(f, C, ".ctor");
            var createParamSized = Get<Func<ParameterizedThreadStart, int, Thread>>(f, C, ".ctor");
            var start = Get<Action<Thread>>(f, C, "Start");
            var startWith = Get<Action<Thread, object?>>(f, C, "Start");
            var join = Get<Action<Thread>>(f, C, "Join");
            var joinMs = Get<Func<Thread, int, bool>>(f, C, "Join");
            var joinTs = Get<Func<Thread, TimeSpan, bool>>(f, C, "Join");
            string p = $"[{f}] Thread";

            int ran = 0;
            Thread t = create(() => Interlocked.Increment(ref ran));
            Check(t.ThreadState == ThreadState.Unstarted, $"{p}(ThreadStart) returns an unstarted thread");
            start(t);
            join(t);
            Check(ran == 1 && !t.IsAlive, $"{p}.Start() then Join() runs the thread to its end");
            Throws<ThreadStateException>($"{p}.Start() of a finished thread", () => t.Start(), () => start(t));

            using (var gate = new ManualResetEventSlim())
            {
                t = createSized(() => gate.Wait(), 256 * 1024);
                start(t);
                Check(!joinMs(t, 20), $"{p}.Join(int) times out while the thread runs");
                Check(!joinTs(t, s_short), $"{p}.Join(TimeSpan) times out while the thread runs");
                gate.Set();
                Check(joinMs(t, (int)s_long.TotalMilliseconds) && !t.IsAlive, $"{p}(ThreadStart, int): Join(int) returns true once it ends");
            }

            object? got = null;
            var token = new object();
            t = createParam(x => got = x);
            startWith(t, token);
            Check(joinTs(t, s_long) && ReferenceEquals(got, token), $"{p}(ParameterizedThreadStart).Start(object) passes its argument");

            got = token;
            t = createParamSized(x => got = x, 256 * 1024);
            start(t);
            Check(joinTs(t, s_long) && got == null, $"{p}(ParameterizedThreadStart, int).Start() passes null");

            Throws<ArgumentNullException>($"{p}(null)", () => new Thread((ThreadStart)null!), () => create(null!));
            Throws<ArgumentOutOfRangeException>($"{p}(start, -1)", () => new Thread(() => { }, -1), () => createSized(() => { }, -1));
            Throws<InvalidOperationException>($"{p}.Start(object) of a ThreadStart thread",
                                              () => new Thread(() => { }).Start(1), () => startWith(create(() => { }), 1));
            Throws<ThreadStateException>($"{p}.Join() of an unstarted thread", () => new Thread(() => { }).Join(), () => join(create(() => { })));
            Throws<ArgumentOutOfRangeException>($"{p}.Join(-2)", () => Thread.CurrentThread.Join(-2), () => joinMs(Thread.CurrentThread, -2));
        }
    }
}
