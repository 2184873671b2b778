using System;
using System.Threading;

namespace WrapperCheck
{
    // Overrides every WaitOne form, so a wrapper that bypassed virtual
    // dispatch would leave First empty. Only the first override hit counts:
    // some base forms call others virtually.
    internal sealed class RecordingHandle : EventWaitHandle
    {
        public RecordingHandle()
            : base(true, EventResetMode.ManualReset)
        {
        }

        public string First { get; set; } = "";

        private void Hit(string form)
        {
            if (First.Length == 0)
            {
                First = form;
            }
        }

        public override bool WaitOne()
        {
            Hit("()");
            return base.WaitOne();
        }

        public override bool WaitOne(int millisecondsTimeout)
        {
            Hit("(int)");
            return base.WaitOne(millisecondsTimeout);
        }

        public override bool WaitOne(TimeSpan timeout)
        {
            Hit("(TimeSpan)");
            return base.WaitOne(timeout);
        }

        public override bool WaitOne(int millisecondsTimeout, bool exitContext)
        {
            Hit("(int, bool)");
            return base.WaitOne(millisecondsTimeout, exitContext);
        }

        public override bool WaitOne(TimeSpan timeout, bool exitContext)
        {
            Hit("(TimeSpan, bool)");
            return base.WaitOne(timeout, exitContext);
        }
    }

    internal sealed partial class Behaviour
    {
        private void WaitHandles(string f)
        {
            const string C = "System.Threading.WaitHandle";
            var waitOne = Get<Func<WaitHandle, bool>>(f, C, "WaitOne");
            var waitOneMs = Get<Func<WaitHandle, int, bool>>(f, C, "WaitOne");
            var waitOneTs = Get<Func<WaitHandle, TimeSpan, bool>>(f, C, "WaitOne");
            var waitOneMsCtx = Get<Func<WaitHandle, int, bool, bool>>(f, C, "WaitOne");
            var waitOneTsCtx = Get<Func<WaitHandle, TimeSpan, bool, bool>>(f, C, "WaitOne");
            string p = $"[{f}] WaitHandle";

            var polls = new (string Name, Func<WaitHandle, bool> Poll)[]
            {
                ("WaitOne(0)", h => waitOneMs(h, 0)),
                ("WaitOne(TimeSpan.Zero)", h => waitOneTs(h, TimeSpan.Zero)),
                ("WaitOne(0, false)", h => waitOneMsCtx(h, 0, false)),
                ("WaitOne(TimeSpan.Zero, false)", h => waitOneTsCtx(h, TimeSpan.Zero, false)),
            };
            using (var manual = new ManualResetEvent(false))
            {
                foreach (var poll in polls)
                {
                    Check(!poll.Poll(manual), $"{p}.{poll.Name} is false on an unset ManualResetEvent");
                }
                manual.Set();
                foreach (var poll in polls)
                {
                    Check(poll.Poll(manual), $"{p}.{poll.Name} is true on a set ManualResetEvent");
                }
                Check(waitOne(manual), $"{p}.WaitOne() returns true on a set ManualResetEvent");

                manual.Reset();
                var waiter = new Thread(() => manual.Set());
                bool woken = false;
                var blocked = new Thread(() => woken = waitOne(manual));
                blocked.Start();
                Thread.Sleep(20);
                waiter.Start();
                Check(blocked.Join(s_long) && woken, $"{p}.WaitOne() returns true once another thread sets the event");
                waiter.Join();
                Throws<ArgumentOutOfRangeException>($"{p}.WaitOne(-2)", () => manual.WaitOne(-2), () => waitOneMs(manual, -2));
            }

            using (var auto = new AutoResetEvent(true))
            {
                Check(waitOneMs(auto, 0) && !waitOneMs(auto, 0), $"{p}.WaitOne(0) consumes the signal of an AutoResetEvent");
            }

            using (var recording = new RecordingHandle())
            {
                var forms = new (string Expected, Func<WaitHandle, bool> Call)[]
                {
                    ("()", h => waitOne(h)),
                    ("(int)", h => waitOneMs(h, 0)),
                    ("(TimeSpan)", h => waitOneTs(h, TimeSpan.Zero)),
                    ("(int, bool)", h => waitOneMsCtx(h, 0, false)),
                    ("(TimeSpan, bool)", h => waitOneTsCtx(h, TimeSpan.Zero, false)),
                };
                foreach (var form in forms)
                {
                    recording.First = "";
                    bool result = form.Call(recording);
                    Check(result && recording.First == form.Expected, $"{p}.WaitOne{form.Expected} dispatches to an override (saw '{recording.First}')");
                }
            }

            var disposed = new ManualResetEvent(true);
            disposed.Dispose();
            Throws<ObjectDisposedException>($"{p}.WaitOne(0) on a disposed handle", () => disposed.WaitOne(0), () => waitOneMs(disposed, 0));
        }

        private void EventWaitHandles(string f)
        {
            const string C = "System.Threading.EventWaitHandle";
            var set = Get<Func<EventWaitHandle, bool>>(f, C, "Set");
            var reset = Get<Func<EventWaitHandle, bool>>(f, C, "Reset");
            string p = $"[{f}] EventWaitHandle";

            using (var manual = new ManualResetEvent(false))
            {
                Check(set(manual) && manual.WaitOne(0) && manual.WaitOne(0), $"{p}.Set signals a ManualResetEvent until reset");
                Check(reset(manual) && !manual.WaitOne(0), $"{p}.Reset clears a ManualResetEvent");
            }
            using (var auto = new AutoResetEvent(false))
            {
                Check(set(auto) && auto.WaitOne(0) && !auto.WaitOne(0), $"{p}.Set signals an AutoResetEvent once");
                set(auto);
                Check(reset(auto) && !auto.WaitOne(0), $"{p}.Reset clears an AutoResetEvent");
            }
            using (var ev = new EventWaitHandle(false, EventResetMode.ManualReset))
            {
                bool woken = false;
                var blocked = new Thread(() => woken = ev.WaitOne(s_long));
                blocked.Start();
                Thread.Sleep(20);
                set(ev);
                Check(blocked.Join(s_long) && woken, $"{p}.Set wakes a thread waiting on an EventWaitHandle");
            }

            var disposed = new ManualResetEvent(false);
            disposed.Dispose();
            Throws<ObjectDisposedException>($"{p}.Set on a disposed event", () => disposed.Set(), () => set(disposed));
            Throws<ObjectDisposedException>($"{p}.Reset on a disposed event", () => disposed.Reset(), () => reset(disposed));
        }

        private void Mutexes(string f)
        {
            const string C = "System.Threading.Mutex";
            var create = Get<Func<Mutex>>(f, C, ".ctor");
            var createOwned = Get<Func<bool, Mutex>>(f, C, ".ctor");
            var createNamed = Get<Func<bool, string?, Mutex>>(f, C, ".ctor");
            var createNamedOut = Get<MutexCreate>(f, C, ".ctor");
            var release = Get<Action<Mutex>>(f, C, "ReleaseMutex");
            string p = $"[{f}] Mutex";

            static bool OthersCanTake(Mutex m) => OnOtherThread(() =>
            {
                bool got = m.WaitOne(0);
                if (got)
                {
                    m.ReleaseMutex();
                }
                return got;
            });

            using (Mutex m = create())
            {
                Check(OthersCanTake(m), $"{p}() is created unowned");
            }
            using (Mutex m = createOwned(true))
            {
                Check(!OthersCanTake(m), $"{p}(true) is owned by its creator");
                release(m);
                Check(OthersCanTake(m), $"{p}.ReleaseMutex() lets other threads take it");
            }
            using (Mutex m = createOwned(false))
            {
                Throws<ApplicationException>($"{p}.ReleaseMutex() of a mutex not owned", () => m.ReleaseMutex(), () => release(m));
            }
            using (Mutex m = createNamed(true, null))
            {
                Check(!OthersCanTake(m), $"{p}(true, null) is owned by its creator");
                release(m);
            }

            string name = $"WrapperCheck.{Environment.ProcessId}.{Guid.NewGuid():N}";
            using (Mutex m = createNamedOut(true, name, out bool createdNew))
            {
                Check(createdNew, $"{p}(true, name, out createdNew) creates a new named mutex");
                using (Mutex again = createNamedOut(false, name, out bool createdAgain))
                {
                    Check(!createdAgain, $"{p}(false, name, out createdNew) reports an existing mutex");
                }
                using (Mutex again = createNamed(false, name))
                {
                    Check(!OthersCanTake(again), $"{p}(false, name) opens the same mutex, still owned");
                }
                release(m);
            }
        }

        private void Semaphores(string f)
        {
            const string C = "System.Threading.SemaphoreSlim";
            var create = Get<Func<int, SemaphoreSlim>>(f, C, ".ctor");
            var createMax = Get<Func<int, int, SemaphoreSlim>>(f, C, ".ctor");
            var wait = Get<Action<SemaphoreSlim>>(f, C, "Wait");
            var waitMs = Get<Func<SemaphoreSlim, int, bool>>(f, C, "Wait");
            var waitTs = Get<Func<SemaphoreSlim, TimeSpan, bool>>(f, C, "Wait");
            var waitCt = Get<Action<SemaphoreSlim, CancellationToken>>(f, C, "Wait");
            var waitMsCt = Get<Func<SemaphoreSlim, int, CancellationToken, bool>>(f, C, "Wait");
            var waitTsCt = Get<Func<SemaphoreSlim, TimeSpan, CancellationToken, bool>>(f, C, "Wait");
            var release = Get<Func<SemaphoreSlim, int>>(f, C, "Release");
            var releaseN = Get<Func<SemaphoreSlim, int, int>>(f, C, "Release");
            string p = $"[{f}] SemaphoreSlim";

            using (SemaphoreSlim s = createMax(1, 2))
            {
                Check(s.CurrentCount == 1, $"{p}(1, 2) starts with one slot");
                wait(s);
                Check(s.CurrentCount == 0, $"{p}.Wait() takes a slot");
                Check(!waitMs(s, 0), $"{p}.Wait(0) fails when empty");
                Check(!waitTs(s, TimeSpan.Zero), $"{p}.Wait(TimeSpan.Zero) fails when empty");
                Check(!waitMsCt(s, 0, CancellationToken.None), $"{p}.Wait(0, token) fails when empty");
                Check(!waitTsCt(s, TimeSpan.Zero, CancellationToken.None), $"{p}.Wait(TimeSpan.Zero, token) fails when empty");
                Check(release(s) == 0 && s.CurrentCount == 1, $"{p}.Release() returns the previous count");
                waitCt(s, CancellationToken.None);
                Check(s.CurrentCount == 0, $"{p}.Wait(token) takes a slot");
                Check(releaseN(s, 2) == 0 && s.CurrentCount == 2, $"{p}.Release(2) returns the previous count");
                Check(waitMs(s, 0) && waitTs(s, TimeSpan.Zero) && s.CurrentCount == 0, $"{p}.Wait(0) and Wait(TimeSpan.Zero) take free slots");
                Check(waitMsCt(s, 0, CancellationToken.None) == false, $"{p}.Wait(0, token) fails again when empty");
                release(s);
                Check(waitTsCt(s, TimeSpan.Zero, CancellationToken.None) && s.CurrentCount == 0, $"{p}.Wait(TimeSpan.Zero, token) takes a free slot");
                releaseN(s, 2);
                Throws<SemaphoreFullException>($"{p}.Release() past the maximum", () => s.Release(), () => release(s));
                Throws<ArgumentOutOfRangeException>($"{p}.Release(0)", () => s.Release(0), () => releaseN(s, 0));
            }

            using (SemaphoreSlim empty = create(0))
            using (var cancelled = new CancellationTokenSource())
            {
                cancelled.Cancel();
                Throws<OperationCanceledException>($"{p}.Wait(cancelled token)", () => empty.Wait(cancelled.Token), () => waitCt(empty, cancelled.Token));
                Throws<OperationCanceledException>($"{p}.Wait(0, cancelled token)", () => empty.Wait(0, cancelled.Token), () => waitMsCt(empty, 0, cancelled.Token));
                Throws<OperationCanceledException>($"{p}.Wait(TimeSpan.Zero, cancelled token)",
                                                   () => empty.Wait(TimeSpan.Zero, cancelled.Token), () => waitTsCt(empty, TimeSpan.Zero, cancelled.Token));
                Throws<ArgumentOutOfRangeException>($"{p}.Wait(TimeSpan of -2 ms)",
                                                    () => empty.Wait(TimeSpan.FromMilliseconds(-2)), () => waitTs(empty, TimeSpan.FromMilliseconds(-2)));
            }
            Throws<ArgumentOutOfRangeException>($"{p}(-1)", () => new SemaphoreSlim(-1), () => create(-1));
            Throws<ArgumentOutOfRangeException>($"{p}(2, 1)", () => new SemaphoreSlim(2, 1), () => createMax(2, 1));

            using (SemaphoreSlim s = create(0))
            {
                bool passed = false;
                var blocked = new Thread(() =>
                {
                    wait(s);
                    passed = true;
                });
                blocked.Start();
                Thread.Sleep(20);
                release(s);
                Check(blocked.Join(s_long) && passed, $"{p}.Release() lets a thread blocked in Wait() through");
            }
            using (SemaphoreSlim s = create(0))
            using (var cts = new CancellationTokenSource())
            {
                string outcome = "";
                var blocked = new Thread(() => outcome = Outcome(() => waitCt(s, cts.Token)));
                blocked.Start();
                Thread.Sleep(20);
                cts.Cancel();
                Check(blocked.Join(s_long) && outcome == nameof(OperationCanceledException), $"{p}.Wait(token) is ended by cancellation (saw {outcome})");
            }
        }
    }
}
