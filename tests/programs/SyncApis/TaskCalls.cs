using System;
using System.Collections.Generic;
using System.Threading;
using System.Threading.Tasks;

namespace SyncApis
{
    internal static class TaskCalls
    {
        private static int s_work;

        private static void Work() => Interlocked.Increment(ref s_work);

        public static void Run()
        {
            // Each piece of work bumps the counter once through a wrapped call.
            int pieces = 0;
            Task a = Task.Run(Work);
            Task b = Task.Run(Work, CancellationToken.None);
            Task c = Task.Run(() => { Work(); return Task.CompletedTask; });
            Task d = Task.Run(() => { Work(); return Task.CompletedTask; }, CancellationToken.None);
            Counts.Add("System.Threading.Tasks.Task.Run", 4);
            pieces += 4;
            a.Wait();
            bool ok = b.Wait(10_000) && c.Wait(TimeSpan.FromSeconds(10));
            d.Wait(CancellationToken.None);
            ok &= d.Wait(10_000, CancellationToken.None);
            Counts.Add("System.Threading.Tasks.Task.Wait", 5);

            var started = new Task(Work);
            started.Start();
            var onDefault = new Task(Work);
            onDefault.Start(TaskScheduler.Default);
            Counts.Add("System.Threading.Tasks.Task.Start", 2);
            pieces += 2;
            Task.WaitAll(started, onDefault);
            ok &= Task.WaitAll(new[] { started, onDefault }, 10_000);
            ok &= Task.WaitAll(new[] { started }, TimeSpan.FromSeconds(10));
            Task.WaitAll(new[] { started }, CancellationToken.None);
            Counts.Add("System.Threading.Tasks.Task.WaitAll", 4);
            int any = Task.WaitAny(started, onDefault) + Task.WaitAny(new[] { started }, 10_000) +
                      Task.WaitAny(new[] { started }, TimeSpan.FromSeconds(10)) +
                      Task.WaitAny(new[] { started }, CancellationToken.None);
            Counts.Add("System.Threading.Tasks.Task.WaitAny", 4);

            Task then = a.ContinueWith(t => Work());
            Task thenToken = a.ContinueWith(t => Work(), CancellationToken.None);
            Task thenOptions = a.ContinueWith(t => Work(), TaskContinuationOptions.ExecuteSynchronously);
            Task thenScheduler = a.ContinueWith(t => Work(), TaskScheduler.Default);
            Task thenState = a.ContinueWith((t, state) => Work(), "state");
            Counts.Add("System.Threading.Tasks.Task.ContinueWith", 5);
            pieces += 5;
            Task all = Task.WhenAll(then, thenToken);
            Task allList = Task.WhenAll(new List<Task> { thenOptions, thenScheduler, thenState });
            Counts.Add("System.Threading.Tasks.Task.WhenAll", 2);
            Task<Task> first = Task.WhenAny(all, allList);
            Task<Task> firstList = Task.WhenAny(new List<Task> { all });
            Task<Task> firstPair = Task.WhenAny(all, allList);
            Counts.Add("System.Threading.Tasks.Task.WhenAny", 3);
            Task.WaitAll(all, allList, first, firstList, firstPair);
            Counts.Add("System.Threading.Tasks.Task.WaitAll");

            Task f1 = Task.Factory.StartNew(Work);
            Task f2 = Task.Factory.StartNew(Work, CancellationToken.None);
            Task f3 = Task.Factory.StartNew(Work, TaskCreationOptions.None);
            Task f4 = Task.Factory.StartNew(state => Work(), "state");
            Counts.Add("System.Threading.Tasks.TaskFactory.StartNew", 4);
            pieces += 4;
            Task.WaitAll(f1, f2, f3, f4);
            Counts.Add("System.Threading.Tasks.Task.WaitAll");

            ParallelLoopResult loop = Parallel.For(0, 8, i => Work());
            ParallelLoopResult wide = Parallel.For(0L, 4L, i => Work());
            Parallel.Invoke(Work, Work, Work);
            Counts.Add("System.Threading.Tasks.Parallel.For", 2);
            Counts.Add("System.Threading.Tasks.Parallel.Invoke");
            pieces += 8 + 4 + 3;
            Counts.Add("System.Threading.Interlocked.Increment", pieces);
            Console.WriteLine("tasks: " + ok + " any " + any + " work " + s_work + "/" + pieces + " loops " +
                              (loop.IsCompleted && wide.IsCompleted));
        }
    }
}
