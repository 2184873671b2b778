using System;
using System.Collections.Generic;
using System.Runtime.CompilerServices;
using System.Threading;
using System.Threading.Tasks;

namespace WrapperCheck
{
    // Generic method instances, members of generic type instances, and what
    // await compiles to (awaiters and builders, by reference), named the way
    // a net10.0 program names them. Never run.
    internal static partial class OriginalCalls
    {
        private struct Machine : IAsyncStateMachine
        {
            public void MoveNext() => throw new NotSupportedException();
            public void SetStateMachine(IAsyncStateMachine stateMachine) => throw new NotSupportedException();
        }

        internal static void Generic(Task task, Task<int> typed, Task<int>[] typedTasks, TaskFactory factory, CancellationToken c, object o)
        {
            string? text = null;
            Volatile.Write(ref text, Volatile.Read(ref text));
            ThreadPool.QueueUserWorkItem(_ => { }, 1, false); ThreadPool.UnsafeQueueUserWorkItem(_ => { }, 1, false);
            Func<int> make = () => 1;
            Func<Task<int>?> makeTask = () => typed;
            Task.Run(make); Task.Run(make, c); Task.Run(makeTask); Task.Run(makeTask, c);
            Task.WhenAll(typedTasks); Task.WhenAll(new List<Task<int>>()); Task.WhenAny(typedTasks); Task.WhenAny(new List<Task<int>>()); Task.WhenAny(typed, typed);
            Func<Task, int> after = _ => 1;
            var (none, d, s) = (TaskContinuationOptions.None, TaskScheduler.Default, TaskCreationOptions.None);
            task.ContinueWith(after); task.ContinueWith(after, c); task.ContinueWith(after, d); task.ContinueWith(after, none); task.ContinueWith(after, c, none, d);
            task.ContinueWith((_, state) => 1, o); task.ContinueWith((_, state) => 1, o, c, none, d);
            Func<object?, int> withState = _ => 1;
            factory.StartNew(make); factory.StartNew(make, c); factory.StartNew(make, s); factory.StartNew(make, c, s, d);
            factory.StartNew(withState, o); factory.StartNew(withState, o, c); factory.StartNew(withState, o, s); factory.StartNew(withState, o, c, s, d);
            var items = new List<int>();
            Parallel.ForEach(items, i => { }); Parallel.ForEach(items, new ParallelOptions(), i => { });
            Parallel.ForEach(items, (i, state) => { }); Parallel.ForEach(items, new ParallelOptions(), (i, state) => { });
            _ = typed.Result;
            Action<Task<int>> next = _ => { };
            typed.ContinueWith(next); typed.ContinueWith(next, c); typed.ContinueWith(next, d); typed.ContinueWith(next, none); typed.ContinueWith(next, c, none, d);
            typed.ContinueWith((_, state) => { }, o); typed.ContinueWith((_, state) => { }, o, c, none, d);
            Func<Task<int>, long> convert = _ => 1;
            typed.ContinueWith(convert); typed.ContinueWith(convert, c); typed.ContinueWith(convert, d); typed.ContinueWith(convert, none);
            typed.ContinueWith(convert, c, none, d); typed.ContinueWith((_, state) => 1L, o); typed.ContinueWith((_, state) => 1L, o, c, none, d);

            var x = new Exception();
            var exceptions = new List<Exception>();
            var source = new TaskCompletionSource<int>(); source = new TaskCompletionSource<int>(c); source = new TaskCompletionSource<int>(s); source = new TaskCompletionSource<int>(c, s);
            source.SetResult(1); source.TrySetResult(1); source.SetException(x); source.SetException(exceptions); source.TrySetException(x); source.TrySetException(exceptions);
            source.SetCanceled(); source.SetCanceled(c); source.TrySetCanceled(); source.TrySetCanceled(c);
            var plain = new TaskCompletionSource(); plain = new TaskCompletionSource(c); plain = new TaskCompletionSource(s); plain = new TaskCompletionSource(c, s);
            plain.SetResult(); plain.TrySetResult(); plain.SetException(x); plain.SetException(exceptions); plain.TrySetException(x); plain.TrySetException(exceptions);
            plain.SetCanceled(); plain.SetCanceled(c); plain.TrySetCanceled(); plain.TrySetCanceled(c);
        }

        // Wrapped only in the build for .NET 9 and later.
        internal static void Newer(Lock gate, TimeSpan t)
        {
            string? text = null;
            Interlocked.Exchange(ref text, text); Interlocked.CompareExchange(ref text, text, null);
            gate = new Lock(); gate.Enter(); gate.TryEnter(); gate.TryEnter(1); gate.TryEnter(t); gate.Exit();
            using (gate.EnterScope())
            {
            }
        }

        internal static void Awaits(ValueTask<int> value, ValueTask plainValue, TaskAwaiter a, TaskAwaiter<int> b,
                                    ConfiguredTaskAwaitable.ConfiguredTaskAwaiter c, ConfiguredTaskAwaitable<int>.ConfiguredTaskAwaiter d,
                                    ValueTaskAwaiter e, ValueTaskAwaiter<int> f, ConfiguredValueTaskAwaitable.ConfiguredValueTaskAwaiter g,
                                    ConfiguredValueTaskAwaitable<int>.ConfiguredValueTaskAwaiter h, Action k)
        {
            _ = value.Result; value.AsTask(); plainValue.AsTask();
            a.GetResult(); a.OnCompleted(k); a.UnsafeOnCompleted(k); b.GetResult(); b.OnCompleted(k); b.UnsafeOnCompleted(k);
            c.GetResult(); c.OnCompleted(k); c.UnsafeOnCompleted(k); d.GetResult(); d.OnCompleted(k); d.UnsafeOnCompleted(k);
            e.GetResult(); e.OnCompleted(k); e.UnsafeOnCompleted(k); f.GetResult(); f.OnCompleted(k); f.UnsafeOnCompleted(k);
            g.GetResult(); g.OnCompleted(k); g.UnsafeOnCompleted(k); h.GetResult(); h.OnCompleted(k); h.UnsafeOnCompleted(k);
        }

        internal static void Builders(ref AsyncTaskMethodBuilder a, ref AsyncTaskMethodBuilder<int> b, ref AsyncValueTaskMethodBuilder c,
                                      ref AsyncValueTaskMethodBuilder<int> d, ref AsyncVoidMethodBuilder e, ref TaskAwaiter w)
        {
            var m = new Machine();
            var x = new Exception();
            a.Start(ref m); a.AwaitOnCompleted(ref w, ref m); a.AwaitUnsafeOnCompleted(ref w, ref m); a.SetResult(); a.SetException(x);
            b.Start(ref m); b.AwaitOnCompleted(ref w, ref m); b.AwaitUnsafeOnCompleted(ref w, ref m); b.SetResult(1); b.SetException(x);
            c.Start(ref m); c.AwaitOnCompleted(ref w, ref m); c.AwaitUnsafeOnCompleted(ref w, ref m); c.SetResult(); c.SetException(x);
            d.Start(ref m); d.AwaitOnCompleted(ref w, ref m); d.AwaitUnsafeOnCompleted(ref w, ref m); d.SetResult(1); d.SetException(x);
            e.Start(ref m); e.AwaitOnCompleted(ref w, ref m); e.AwaitUnsafeOnCompleted(ref w, ref m); e.SetResult(); e.SetException(x);
        }
    }
}
