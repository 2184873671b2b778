using System;
using System.Threading;

namespace WrapperCheck
{
    internal sealed partial class Behaviour
    {
        private void Monitors(string f)
        {
            const string C = "System.Threading.Monitor";
            var enter = Get<Action<object>>(f, C, "Enter");
            var enterRef = Get<LockRef>(f, C, "Enter");
            var tryEnter = Get<Func<object, bool>>(f, C, "TryEnter");
            var tryEnterMs = Get<Func<object, int, bool>>(f, C, "TryEnter");
            var tryEnterTs = Get<Func<object, TimeSpan, bool>>(f, C, "TryEnter");
            var tryEnterRef = Get<LockRef>(f, C, "TryEnter");
            var tryEnterMsRef = Get<LockIntRef>(f, C, "TryEnter");
            var tryEnterTsRef = Get<LockSpanRef>(f, C, "TryEnter");
            var exit = Get<Action<object>>(f, C, "Exit");
            var wait = Get<Func<object, bool>>(f, C, "Wait");
            var waitMs = Get<Func<object, int, bool>>(f, C, "Wait");
            var waitTs = Get<Func<object, TimeSpan, bool>>(f, C, "Wait");
            var waitMsCtx = Get<Func<object, int, bool, bool>>(f, C, "Wait");
            var waitTsCtx = Get<Func<object, TimeSpan, bool, bool>>(f, C, "Wait");
            var pulse = Get<Action<object>>(f, C, "Pulse");
            var pulseAll = Get<Action<object>>(f, C, "PulseAll");
            string p = $"[{f}] Monitor";

            // Held by this thread: every TryEnter form fails on another one.
            var o = new object();
            enter(o);
            Check(Monitor.IsEntered(o), $"{p}.Enter(o) takes the lock");
            Check(!OnOtherThread(() => tryEnter(o)), $"{p}.TryEnter(o) fails while another thread holds the lock");
            Check(!OnOtherThread(() => tryEnterMs(o, 20)), $"{p}.TryEnter(o, int) times out while another thread holds the lock");
            Check(!OnOtherThread(() => tryEnterTs(o, s_short)), $"{p}.TryEnter(o, TimeSpan) times out while another thread holds the lock");
            Check(OnOtherThread(() => { bool t = false; tryEnterRef(o, ref t); return !t; }), $"{p}.TryEnter(o, ref taken) leaves taken false while held elsewhere");
            Check(OnOtherThread(() => { bool t = false; tryEnterMsRef(o, 20, ref t); return !t; }), $"{p}.TryEnter(o, int, ref taken) leaves taken false while held elsewhere");
            Check(OnOtherThread(() => { bool t = false; tryEnterTsRef(o, s_short, ref t); return !t; }), $"{p}.TryEnter(o, TimeSpan, ref taken) leaves taken false while held elsewhere");
            enter(o);
            exit(o);
            Check(Monitor.IsEntered(o), $"{p}.Exit(o) after a nested Enter keeps the lock");
            exit(o);
            Check(!Monitor.IsEntered(o), $"{p}.Exit(o) releases the lock");

            // Free: every form takes it.
            bool taken = false;
            enterRef(o, ref taken);
            Check(taken && Monitor.IsEntered(o), $"{p}.Enter(o, ref taken) takes the lock and sets taken");
            Monitor.Exit(o);
            Check(tryEnter(o) && Monitor.IsEntered(o), $"{p}.TryEnter(o) takes a free lock");
            Monitor.Exit(o);
            Check(tryEnterMs(o, 0) && Monitor.IsEntered(o), $"{p}.TryEnter(o, 0) takes a free lock");
            Monitor.Exit(o);
            Check(tryEnterTs(o, TimeSpan.Zero) && Monitor.IsEntered(o), $"{p}.TryEnter(o, TimeSpan.Zero) takes a free lock");
            Monitor.Exit(o);
            taken = false;
            tryEnterRef(o, ref taken);
            Check(taken, $"{p}.TryEnter(o, ref taken) sets taken on a free lock");
            Monitor.Exit(o);
            taken = false;
            tryEnterMsRef(o, 0, ref taken);
            Check(taken, $"{p}.TryEnter(o, int, ref taken) sets taken on a free lock");
            Monitor.Exit(o);
            taken = false;
            tryEnterTsRef(o, TimeSpan.Zero, ref taken);
            Check(taken, $"{p}.TryEnter(o, TimeSpan, ref taken) sets taken on a free lock");
            Monitor.Exit(o);
            Check(!Monitor.IsEntered(o), $"{p}: the lock is free again");

            Throws<ArgumentNullException>($"{p}.Enter(null)", () => Monitor.Enter(null!), () => enter(null!));
            Throws<ArgumentException>($"{p}.Enter(o, ref true)", () => { bool t = true; Monitor.Enter(o, ref t); }, () => { bool t = true; enterRef(o, ref t); });
            Throws<ArgumentOutOfRangeException>($"{p}.TryEnter(o, -2)", () => Monitor.TryEnter(o, -2), () => tryEnterMs(o, -2));
            Throws<SynchronizationLockException>($"{p}.Exit of a lock not held", () => Monitor.Exit(o), () => exit(o));
            Throws<SynchronizationLockException>($"{p}.Wait without the lock", () => Monitor.Wait(o), () => wait(o));
            Throws<SynchronizationLockException>($"{p}.Pulse without the lock", () => Monitor.Pulse(o), () => pulse(o));
            Throws<SynchronizationLockException>($"{p}.PulseAll without the lock", () => Monitor.PulseAll(o), () => pulseAll(o));

            lock (o)
            {
                Check(!waitMs(o, 20), $"{p}.Wait(o, int) times out unpulsed");
                Check(!waitTs(o, s_short), $"{p}.Wait(o, TimeSpan) times out unpulsed");
                Check(!waitMsCtx(o, 20, false), $"{p}.Wait(o, int, bool) times out unpulsed");
                Check(!waitTsCtx(o, s_short, false), $"{p}.Wait(o, TimeSpan, bool) times out unpulsed");
                Check(Monitor.IsEntered(o), $"{p}.Wait gives the lock back after a timeout");
            }

            int ms = (int)s_long.TotalMilliseconds;
            var forms = new (string Name, Func<object, bool> Wait)[]
            {
                ("Wait(o)", wait),
                ("Wait(o, int)", x => waitMs(x, ms)),
                ("Wait(o, TimeSpan)", x => waitTs(x, s_long)),
                ("Wait(o, int, bool)", x => waitMsCtx(x, ms, false)),
                ("Wait(o, TimeSpan, bool)", x => waitTsCtx(x, s_long, false)),
            };
            foreach (var form in forms)
            {
                Check(Woken(form.Wait, pulse, 1), $"{p}.{form.Name} returns true when another thread pulses");
            }
            Check(Woken(wait, pulseAll, 3), $"{p}.PulseAll wakes all three waiters");
        }

        // Starts waiters that wait on one lock object and wakes them with the
        // given pulse once all are waiting; true if all were woken.
        private static bool Woken(Func<object, bool> wait, Action<object> pulse, int waiters)
        {
            var o = new object();
            int ready = 0, woken = 0;
            var threads = new Thread[waiters];
            for (int i = 0; i < waiters; i++)
            {
                threads[i] = new Thread(() =>
                {
                    lock (o)
                    {
                        ready++;
                        if (wait(o))
                        {
                            Interlocked.Increment(ref woken);
                        }
                    }
                });
                threads[i].Start();
            }
            // Whoever set ready while holding the lock can only have let go of
            // it by waiting, so once we hold it and see them all, all wait.
            var deadline = DateTime.UtcNow + s_long;
            bool pulsed = false;
            while (!pulsed && DateTime.UtcNow < deadline)
            {
                lock (o)
                {
                    if (ready == waiters)
                    {
                        pulse(o);
                        pulsed = true;
                    }
                }
                Thread.Sleep(1);
            }
            bool joined = true;
            foreach (Thread t in threads)
            {
                joined &= t.Join(s_long);
            }
            return pulsed && joined && woken == waiters;
        }
    }
}
