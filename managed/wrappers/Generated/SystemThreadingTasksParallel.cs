// Written by generate.py from its table; edit the table and rerun it.

using System;
using System.Collections.Generic;
using System.Runtime.CompilerServices;
using System.Threading;
using System.Threading.Tasks;
using veskmrte_1_0;

namespace Veskmrte.Wrappers.SystemThreadingTasksParallel
{
    // Replaces calls that name System.Threading.Tasks.Parallel through "System.Threading.Tasks.Parallel".
    public static unsafe class ParallelWrapper
    {
        [Replacement("System.Threading.Tasks.Parallel", "System.Threading.Tasks.Parallel", "For")]
        public static ParallelLoopResult For(int fromInclusive, int toExclusive, Action<int> body)
        {
            Report.Before(ApiTable.ParallelFor, null);
            ParallelLoopResult result = Parallel.For(fromInclusive, toExclusive, body);
            Report.After(ApiTable.ParallelFor, null);
            return result;
        }

        [Replacement("System.Threading.Tasks.Parallel", "System.Threading.Tasks.Parallel", "For")]
        public static ParallelLoopResult For(long fromInclusive, long toExclusive, Action<long> body)
        {
            Report.Before(ApiTable.ParallelFor, null);
            ParallelLoopResult result = Parallel.For(fromInclusive, toExclusive, body);
            Report.After(ApiTable.ParallelFor, null);
            return result;
        }

        [Replacement("System.Threading.Tasks.Parallel", "System.Threading.Tasks.Parallel", "For")]
        public static ParallelLoopResult For(int fromInclusive, int toExclusive, ParallelOptions parallelOptions, Action<int> body)
        {
            Report.Before(ApiTable.ParallelFor, null);
            ParallelLoopResult result = Parallel.For(fromInclusive, toExclusive, parallelOptions, body);
            Report.After(ApiTable.ParallelFor, null);
            return result;
        }

        [Replacement("System.Threading.Tasks.Parallel", "System.Threading.Tasks.Parallel", "For")]
        public static ParallelLoopResult For(int fromInclusive, int toExclusive, Action<int, ParallelLoopState> body)
        {
            Report.Before(ApiTable.ParallelFor, null);
            ParallelLoopResult result = Parallel.For(fromInclusive, toExclusive, body);
            Report.After(ApiTable.ParallelFor, null);
            return result;
        }

        [Replacement("System.Threading.Tasks.Parallel", "System.Threading.Tasks.Parallel", "Invoke")]
        public static void Invoke(params Action[] actions)
        {
            Report.Before(ApiTable.ParallelInvoke, null);
            Parallel.Invoke(actions);
            Report.After(ApiTable.ParallelInvoke, null);
        }

        [Replacement("System.Threading.Tasks.Parallel", "System.Threading.Tasks.Parallel", "Invoke")]
        public static void Invoke(ParallelOptions parallelOptions, params Action[] actions)
        {
            Report.Before(ApiTable.ParallelInvoke, null);
            Parallel.Invoke(parallelOptions, actions);
            Report.After(ApiTable.ParallelInvoke, null);
        }

        [Replacement("System.Threading.Tasks.Parallel", "System.Threading.Tasks.Parallel", "ForEach")]
        public static ParallelLoopResult ForEach<TSource>(IEnumerable<TSource> source, Action<TSource> body)
        {
            Report.Before(ApiTable.ParallelForEach, null);
            ParallelLoopResult result = Parallel.ForEach<TSource>(source, body);
            Report.After(ApiTable.ParallelForEach, null);
            return result;
        }

        [Replacement("System.Threading.Tasks.Parallel", "System.Threading.Tasks.Parallel", "ForEach")]
        public static ParallelLoopResult ForEach<TSource>(IEnumerable<TSource> source, ParallelOptions parallelOptions, Action<TSource> body)
        {
            Report.Before(ApiTable.ParallelForEach, null);
            ParallelLoopResult result = Parallel.ForEach<TSource>(source, parallelOptions, body);
            Report.After(ApiTable.ParallelForEach, null);
            return result;
        }

        [Replacement("System.Threading.Tasks.Parallel", "System.Threading.Tasks.Parallel", "ForEach")]
        public static ParallelLoopResult ForEach<TSource>(IEnumerable<TSource> source, Action<TSource, ParallelLoopState> body)
        {
            Report.Before(ApiTable.ParallelForEach, null);
            ParallelLoopResult result = Parallel.ForEach<TSource>(source, body);
            Report.After(ApiTable.ParallelForEach, null);
            return result;
        }

        [Replacement("System.Threading.Tasks.Parallel", "System.Threading.Tasks.Parallel", "ForEach")]
        public static ParallelLoopResult ForEach<TSource>(IEnumerable<TSource> source, ParallelOptions parallelOptions, Action<TSource, ParallelLoopState> body)
        {
            Report.Before(ApiTable.ParallelForEach, null);
            ParallelLoopResult result = Parallel.ForEach<TSource>(source, parallelOptions, body);
            Report.After(ApiTable.ParallelForEach, null);
            return result;
        }
    }
}
