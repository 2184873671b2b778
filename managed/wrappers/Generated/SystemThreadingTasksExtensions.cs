// Written by generate.py from its table; edit the table and rerun it.

using System;
using System.Collections.Generic;
using System.Runtime.CompilerServices;
using System.Threading;
using System.Threading.Tasks;
using veskmrte_1_0;

namespace Veskmrte.Wrappers.SystemThreadingTasksExtensions
{
    // Replaces calls that name System.Threading.Tasks.ValueTask`1 through "System.Threading.Tasks.Extensions".
    public static unsafe class ValueTask1Wrapper
    {
        [Replacement("System.Threading.Tasks.Extensions", "System.Threading.Tasks.ValueTask`1", "get_Result")]
        public static TResult get_Result<TResult>(ref ValueTask<TResult> valueTask)
        {
            Report.Before(ApiTable.ValueTask1GetResult, null);
            TResult result = valueTask.Result;
            Report.After(ApiTable.ValueTask1GetResult, null);
            return result;
        }

        [Replacement("System.Threading.Tasks.Extensions", "System.Threading.Tasks.ValueTask`1", "AsTask")]
        public static Task<TResult> AsTask<TResult>(ref ValueTask<TResult> valueTask)
        {
            Report.Before(ApiTable.ValueTask1AsTask, null);
            return valueTask.AsTask();
        }
    }

    // Replaces calls that name System.Threading.Tasks.ValueTask through "System.Threading.Tasks.Extensions".
    public static unsafe class ValueTaskWrapper
    {
        [Replacement("System.Threading.Tasks.Extensions", "System.Threading.Tasks.ValueTask", "AsTask")]
        public static Task AsTask(ref ValueTask valueTask)
        {
            Report.Before(ApiTable.ValueTaskAsTask, null);
            return valueTask.AsTask();
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.ValueTaskAwaiter through "System.Threading.Tasks.Extensions".
    public static unsafe class ValueTaskAwaiterWrapper
    {
        [Replacement("System.Threading.Tasks.Extensions", "System.Runtime.CompilerServices.ValueTaskAwaiter", "GetResult")]
        public static void GetResult(ref ValueTaskAwaiter awaiter)
        {
            Report.Before(ApiTable.ValueTaskAwaiterGetResult, null);
            awaiter.GetResult();
            Report.After(ApiTable.ValueTaskAwaiterGetResult, null);
        }

        [Replacement("System.Threading.Tasks.Extensions", "System.Runtime.CompilerServices.ValueTaskAwaiter", "OnCompleted")]
        public static void OnCompleted(ref ValueTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ValueTaskAwaiterOnCompleted, null);
            awaiter.OnCompleted(continuation);
        }

        [Replacement("System.Threading.Tasks.Extensions", "System.Runtime.CompilerServices.ValueTaskAwaiter", "UnsafeOnCompleted")]
        public static void UnsafeOnCompleted(ref ValueTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ValueTaskAwaiterUnsafeOnCompleted, null);
            awaiter.UnsafeOnCompleted(continuation);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.ValueTaskAwaiter`1 through "System.Threading.Tasks.Extensions".
    public static unsafe class ValueTaskAwaiter1Wrapper
    {
        [Replacement("System.Threading.Tasks.Extensions", "System.Runtime.CompilerServices.ValueTaskAwaiter`1", "GetResult")]
        public static TResult GetResult<TResult>(ref ValueTaskAwaiter<TResult> awaiter)
        {
            Report.Before(ApiTable.ValueTaskAwaiter1GetResult, null);
            TResult result = awaiter.GetResult();
            Report.After(ApiTable.ValueTaskAwaiter1GetResult, null);
            return result;
        }

        [Replacement("System.Threading.Tasks.Extensions", "System.Runtime.CompilerServices.ValueTaskAwaiter`1", "OnCompleted")]
        public static void OnCompleted<TResult>(ref ValueTaskAwaiter<TResult> awaiter, Action continuation)
        {
            Report.Before(ApiTable.ValueTaskAwaiter1OnCompleted, null);
            awaiter.OnCompleted(continuation);
        }

        [Replacement("System.Threading.Tasks.Extensions", "System.Runtime.CompilerServices.ValueTaskAwaiter`1", "UnsafeOnCompleted")]
        public static void UnsafeOnCompleted<TResult>(ref ValueTaskAwaiter<TResult> awaiter, Action continuation)
        {
            Report.Before(ApiTable.ValueTaskAwaiter1UnsafeOnCompleted, null);
            awaiter.UnsafeOnCompleted(continuation);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable+ConfiguredValueTaskAwaiter through "System.Threading.Tasks.Extensions".
    public static unsafe class ConfiguredValueTaskAwaitableConfiguredValueTaskAwaiterWrapper
    {
        [Replacement("System.Threading.Tasks.Extensions", "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable+ConfiguredValueTaskAwaiter", "GetResult")]
        public static void GetResult(ref ConfiguredValueTaskAwaitable.ConfiguredValueTaskAwaiter awaiter)
        {
            Report.Before(ApiTable.ConfiguredValueTaskAwaitableConfiguredValueTaskAwaiterGetResult, null);
            awaiter.GetResult();
            Report.After(ApiTable.ConfiguredValueTaskAwaitableConfiguredValueTaskAwaiterGetResult, null);
        }

        [Replacement("System.Threading.Tasks.Extensions", "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable+ConfiguredValueTaskAwaiter", "OnCompleted")]
        public static void OnCompleted(ref ConfiguredValueTaskAwaitable.ConfiguredValueTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ConfiguredValueTaskAwaitableConfiguredValueTaskAwaiterOnCompleted, null);
            awaiter.OnCompleted(continuation);
        }

        [Replacement("System.Threading.Tasks.Extensions", "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable+ConfiguredValueTaskAwaiter", "UnsafeOnCompleted")]
        public static void UnsafeOnCompleted(ref ConfiguredValueTaskAwaitable.ConfiguredValueTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ConfiguredValueTaskAwaitableConfiguredValueTaskAwaiterUnsafeOnCompleted, null);
            awaiter.UnsafeOnCompleted(continuation);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable`1+ConfiguredValueTaskAwaiter through "System.Threading.Tasks.Extensions".
    public static unsafe class ConfiguredValueTaskAwaitable1ConfiguredValueTaskAwaiterWrapper
    {
        [Replacement("System.Threading.Tasks.Extensions", "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable`1+ConfiguredValueTaskAwaiter", "GetResult")]
        public static TResult GetResult<TResult>(ref ConfiguredValueTaskAwaitable<TResult>.ConfiguredValueTaskAwaiter awaiter)
        {
            Report.Before(ApiTable.ConfiguredValueTaskAwaitable1ConfiguredValueTaskAwaiterGetResult, null);
            TResult result = awaiter.GetResult();
            Report.After(ApiTable.ConfiguredValueTaskAwaitable1ConfiguredValueTaskAwaiterGetResult, null);
            return result;
        }

        [Replacement("System.Threading.Tasks.Extensions", "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable`1+ConfiguredValueTaskAwaiter", "OnCompleted")]
        public static void OnCompleted<TResult>(ref ConfiguredValueTaskAwaitable<TResult>.ConfiguredValueTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ConfiguredValueTaskAwaitable1ConfiguredValueTaskAwaiterOnCompleted, null);
            awaiter.OnCompleted(continuation);
        }

        [Replacement("System.Threading.Tasks.Extensions", "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable`1+ConfiguredValueTaskAwaiter", "UnsafeOnCompleted")]
        public static void UnsafeOnCompleted<TResult>(ref ConfiguredValueTaskAwaitable<TResult>.ConfiguredValueTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ConfiguredValueTaskAwaitable1ConfiguredValueTaskAwaiterUnsafeOnCompleted, null);
            awaiter.UnsafeOnCompleted(continuation);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder through "System.Threading.Tasks.Extensions".
    public static unsafe class AsyncValueTaskMethodBuilderWrapper
    {
        [Replacement("System.Threading.Tasks.Extensions", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder", "Start")]
        public static void Start<TStateMachine>(ref AsyncValueTaskMethodBuilder builder, ref TStateMachine stateMachine) where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilderStart, null);
            builder.Start<TStateMachine>(ref stateMachine);
        }

        [Replacement("System.Threading.Tasks.Extensions", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder", "AwaitOnCompleted")]
        public static void AwaitOnCompleted<TAwaiter, TStateMachine>(ref AsyncValueTaskMethodBuilder builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : INotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilderAwaitOnCompleted, null);
            builder.AwaitOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Threading.Tasks.Extensions", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder", "AwaitUnsafeOnCompleted")]
        public static void AwaitUnsafeOnCompleted<TAwaiter, TStateMachine>(ref AsyncValueTaskMethodBuilder builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : ICriticalNotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilderAwaitUnsafeOnCompleted, null);
            builder.AwaitUnsafeOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Threading.Tasks.Extensions", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder", "SetResult")]
        public static void SetResult(ref AsyncValueTaskMethodBuilder builder)
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilderSetResult, null);
            builder.SetResult();
        }

        [Replacement("System.Threading.Tasks.Extensions", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder", "SetException")]
        public static void SetException(ref AsyncValueTaskMethodBuilder builder, Exception exception)
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilderSetException, null);
            builder.SetException(exception);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1 through "System.Threading.Tasks.Extensions".
    public static unsafe class AsyncValueTaskMethodBuilder1Wrapper
    {
        [Replacement("System.Threading.Tasks.Extensions", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1", "Start")]
        public static void Start<TResult, TStateMachine>(ref AsyncValueTaskMethodBuilder<TResult> builder, ref TStateMachine stateMachine) where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilder1Start, null);
            builder.Start<TStateMachine>(ref stateMachine);
        }

        [Replacement("System.Threading.Tasks.Extensions", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1", "AwaitOnCompleted")]
        public static void AwaitOnCompleted<TResult, TAwaiter, TStateMachine>(ref AsyncValueTaskMethodBuilder<TResult> builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : INotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilder1AwaitOnCompleted, null);
            builder.AwaitOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Threading.Tasks.Extensions", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1", "AwaitUnsafeOnCompleted")]
        public static void AwaitUnsafeOnCompleted<TResult, TAwaiter, TStateMachine>(ref AsyncValueTaskMethodBuilder<TResult> builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : ICriticalNotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilder1AwaitUnsafeOnCompleted, null);
            builder.AwaitUnsafeOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Threading.Tasks.Extensions", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1", "SetResult")]
        public static void SetResult<TResult>(ref AsyncValueTaskMethodBuilder<TResult> builder, TResult result)
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilder1SetResult, null);
            builder.SetResult(result);
        }

        [Replacement("System.Threading.Tasks.Extensions", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1", "SetException")]
        public static void SetException<TResult>(ref AsyncValueTaskMethodBuilder<TResult> builder, Exception exception)
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilder1SetException, null);
            builder.SetException(exception);
        }
    }
}
