using System;
using System.Collections.Generic;
using System.Runtime.CompilerServices;
using System.Threading;
using System.Threading.Tasks;

namespace SyncApis
{
    internal static class TaskCalls
    {
        private static int s_work;

        // Each piece of work bumps the counter once through a wrapped call.
        private static void Work() => Interlocked.Increment(ref s_work);

        public static void Run()
        {
            Task a = null!, b = null!, c = null!, d = null!, started = new Task(Work), onDefault = new Task(Work);
            Task then = null!, thenToken = null!, thenOptions = null!, thenScheduler = null!, thenState = null!, all = null!, allList = null!;
            Task<Task> first = null!, firstList = null!, firstPair = null!;
            Task f1 = null!, f2 = null!, f3 = null!, f4 = null!;
            ParallelLoopResult loop = default, wide = default;
            bool ok = true;
            int any = 0;
            var ten = TimeSpan.FromSeconds(10);
            Counts.Do(("Tasks.Task.Run", () => a = Task.Run(Work)), ("Tasks.Task.Run", () => b = Task.Run(Work, CancellationToken.None)),
                      ("Tasks.Task.Run", () => c = Task.Run(() => { Work(); return Task.CompletedTask; })),
                      ("Tasks.Task.Run", () => d = Task.Run(() => { Work(); return Task.CompletedTask; }, CancellationToken.None)),
                      ("Tasks.Task.Wait", () => a.Wait()), ("Tasks.Task.Wait", () => ok &= b.Wait(10_000)),
                      ("Tasks.Task.Wait", () => ok &= c.Wait(ten)), ("Tasks.Task.Wait", () => d.Wait(CancellationToken.None)),
                      ("Tasks.Task.Wait", () => ok &= d.Wait(10_000, CancellationToken.None)),
                      ("Tasks.Task.Start", () => started.Start()), ("Tasks.Task.Start", () => onDefault.Start(TaskScheduler.Default)),
                      ("Tasks.Task.WaitAll", () => Task.WaitAll(started, onDefault)),
                      ("Tasks.Task.WaitAll", () => ok &= Task.WaitAll(new[] { started, onDefault }, 10_000)),
                      ("Tasks.Task.WaitAll", () => ok &= Task.WaitAll(new[] { started }, ten)),
                      ("Tasks.Task.WaitAll", () => Task.WaitAll(new[] { started }, CancellationToken.None)),
                      ("Tasks.Task.WaitAny", () => any += Task.WaitAny(started, onDefault)),
                      ("Tasks.Task.WaitAny", () => any += Task.WaitAny(new[] { started }, 10_000)),
                      ("Tasks.Task.WaitAny", () => any += Task.WaitAny(new[] { started }, ten)),
                      ("Tasks.Task.WaitAny", () => any += Task.WaitAny(new[] { started }, CancellationToken.None)),
                      ("Tasks.Task.ContinueWith", () => then = a.ContinueWith(t => Work())),
                      ("Tasks.Task.ContinueWith", () => thenToken = a.ContinueWith(t => Work(), CancellationToken.None)),
                      ("Tasks.Task.ContinueWith", () => thenOptions = a.ContinueWith(t => Work(), TaskContinuationOptions.ExecuteSynchronously)),
                      ("Tasks.Task.ContinueWith", () => thenScheduler = a.ContinueWith(t => Work(), TaskScheduler.Default)),
                      ("Tasks.Task.ContinueWith", () => thenState = a.ContinueWith((t, state) => Work(), "state")),
                      ("Tasks.Task.WhenAll", () => all = Task.WhenAll(then, thenToken)),
                      ("Tasks.Task.WhenAll", () => allList = Task.WhenAll(new List<Task> { thenOptions, thenScheduler, thenState })),
                      ("Tasks.Task.WhenAny", () => first = Task.WhenAny(all, allList)),
                      ("Tasks.Task.WhenAny", () => firstList = Task.WhenAny(new List<Task> { all })),
                      ("Tasks.Task.WhenAny", () => firstPair = Task.WhenAny(all, allList)),
                      ("Tasks.Task.WaitAll", () => Task.WaitAll(all, allList, first, firstList, firstPair)),
                      ("Tasks.TaskFactory.StartNew", () => f1 = Task.Factory.StartNew(Work)),
                      ("Tasks.TaskFactory.StartNew", () => f2 = Task.Factory.StartNew(Work, CancellationToken.None)),
                      ("Tasks.TaskFactory.StartNew", () => f3 = Task.Factory.StartNew(Work, TaskCreationOptions.None)),
                      ("Tasks.TaskFactory.StartNew", () => f4 = Task.Factory.StartNew(state => Work(), "state")),
                      ("Tasks.Task.WaitAll", () => Task.WaitAll(f1, f2, f3, f4)),
                      ("Tasks.Parallel.For", () => loop = Parallel.For(0, 8, i => Work())),
                      ("Tasks.Parallel.For", () => wide = Parallel.For(0L, 4L, i => Work())),
                      ("Tasks.Parallel.Invoke", () => Parallel.Invoke(Work, Work, Work)));
            const int pieces = 4 + 2 + 5 + 4 + 8 + 4 + 3;
            Counts.Add("Interlocked.Increment", pieces);
            Console.WriteLine("tasks: " + ok + " any " + any + " work " + s_work + "/" + pieces + " loops " +
                              (loop.IsCompleted && wide.IsCompleted));
            Observed();
        }

        // Each task below is completed or observed through an awaiter, a
        // builder or a completion source, and waited on as a task: the tool
        // must name the same object in both.
        private static void Observed()
        {
            const string S = "System.Runtime.CompilerServices.";
            Task run = null!, built = null!;
            var builder = AsyncTaskMethodBuilder.Create();
            Counts.Do(("Tasks.Task.Run", () => run = Task.Run(Work)), ("Tasks.Task.Wait", () => run.Wait()),
                      (S + "TaskAwaiter.GetResult", () => run.GetAwaiter().GetResult()),
                      (S + "ConfiguredTaskAwaitable+ConfiguredTaskAwaiter.GetResult", () => run.ConfigureAwait(false).GetAwaiter().GetResult()),
                      (S + "AsyncTaskMethodBuilder.SetResult", () => { built = builder.Task; builder.SetResult(); }),
                      ("Tasks.Task.Wait", () => built.Wait()));
            Counts.Add("Interlocked.Increment");
            bool completed = run.IsCompleted && built.IsCompleted;
#if NET5_0_OR_GREATER
            TaskCompletionSource source = null!;
            Counts.Do(("Tasks.TaskCompletionSource..ctor", () => source = new TaskCompletionSource()),
                      ("Tasks.TaskCompletionSource.SetResult", () => source.SetResult()), ("Tasks.Task.Wait", () => source.Task.Wait()));
            completed &= source.Task.IsCompleted;
#endif
            // The same through the generic kinds, and an async method that
            // suspends once: its builder completes the task its caller waits on.
            Task<int> typed = null!, later = null!;
            var typedBuilder = AsyncTaskMethodBuilder<int>.Create();
            TaskCompletionSource<int> typedSource = null!;
            Counts.Do(("Tasks.Task.Run", () => typed = Task.Run(() => 1)), ("Tasks.Task.Wait", () => typed.Wait()),
                      (S + "TaskAwaiter`1.GetResult", () => typed.GetAwaiter().GetResult()),
                      (S + "ConfiguredTaskAwaitable`1+ConfiguredTaskAwaiter.GetResult", () => typed.ConfigureAwait(false).GetAwaiter().GetResult()),
                      (S + "AsyncTaskMethodBuilder`1.SetResult", () => { built = typedBuilder.Task; typedBuilder.SetResult(1); }),
                      ("Tasks.Task.Wait", () => built.Wait()), ("Tasks.TaskCompletionSource`1..ctor", () => typedSource = new TaskCompletionSource<int>()),
                      ("Tasks.TaskCompletionSource`1.SetResult", () => typedSource.SetResult(1)), ("Tasks.Task.Wait", () => typedSource.Task.Wait()),
                      (S + "AsyncTaskMethodBuilder`1.Start", () => later = Later()), ("Tasks.Task.Wait", () => later.Wait()));
            Counts.Add(S + "AsyncTaskMethodBuilder`1.AwaitUnsafeOnCompleted");
            Counts.Add(S + "TaskAwaiter.GetResult");
            Counts.Add(S + "AsyncTaskMethodBuilder`1.SetResult");
            Console.WriteLine("observed: " + (completed && later.IsCompleted && typed.IsCompleted && typedSource.Task.IsCompleted));
        }

        // Far longer than the check that follows the call, so it suspends.
        private static async Task<int> Later()
        {
            await Task.Delay(50);
            return 1;
        }
    }
}
