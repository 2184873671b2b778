using System.Runtime.CompilerServices;
using System.Threading.Tasks;

namespace Veskmrte.Wrappers
{
    // The task an awaiter or a completion source stands for, which is what
    // the awaiting code observes and so what the tool relates a completion
    // to.
    //
    // Awaiters and builders do not show their task without side effects (a
    // builder's Task getter creates one when the method has not suspended
    // yet, which the builder later replaces or never uses). Their one
    // reference field is that task, and a reference field comes first in the
    // layout the runtime gives a struct; whether it does in the running
    // runtime is checked once per kind, on values of our own, and where it
    // does not the call is reported without its task rather than with a
    // guess. The generic kinds hold a Task<TResult> whatever TResult is, so
    // one instantiation stands for all. A builder whose method has not
    // suspended holds no task yet: that method completes on the caller's
    // thread, and the report names none.
    internal static class TaskSubjects
    {
        private static readonly bool s_awaiterFirst = AwaitersHoldTaskFirst();
        private static readonly bool s_builderFirst = BuildersHoldTaskFirst();

        internal static Task TaskOf<TResult>(TaskCompletionSource<TResult> source) => source.Task;

        internal static Task TaskOf(TaskCompletionSource source) => source.Task;

        internal static Task? TaskOf(ref TaskAwaiter awaiter) =>
            s_awaiterFirst ? Unsafe.As<TaskAwaiter, Task>(ref awaiter) : null;

        internal static Task? TaskOf<TResult>(ref TaskAwaiter<TResult> awaiter) =>
            s_awaiterFirst ? Unsafe.As<TaskAwaiter<TResult>, Task>(ref awaiter) : null;

        internal static Task? TaskOf(ref ConfiguredTaskAwaitable.ConfiguredTaskAwaiter awaiter) =>
            s_awaiterFirst ? Unsafe.As<ConfiguredTaskAwaitable.ConfiguredTaskAwaiter, Task>(ref awaiter) : null;

        internal static Task? TaskOf<TResult>(ref ConfiguredTaskAwaitable<TResult>.ConfiguredTaskAwaiter awaiter) =>
            s_awaiterFirst ? Unsafe.As<ConfiguredTaskAwaitable<TResult>.ConfiguredTaskAwaiter, Task>(ref awaiter) : null;

        internal static Task? TaskOf(ref AsyncTaskMethodBuilder builder) =>
            s_builderFirst ? Unsafe.As<AsyncTaskMethodBuilder, Task?>(ref builder) : null;

        internal static Task? TaskOf<TResult>(ref AsyncTaskMethodBuilder<TResult> builder) =>
            s_builderFirst ? Unsafe.As<AsyncTaskMethodBuilder<TResult>, Task?>(ref builder) : null;

        private static bool AwaitersHoldTaskFirst()
        {
            var source = new TaskCompletionSource<object?>();
            Task<object?> task = source.Task;
            TaskAwaiter plain = ((Task)task).GetAwaiter();
            TaskAwaiter<object?> typed = task.GetAwaiter();
            ConfiguredTaskAwaitable.ConfiguredTaskAwaiter configured = ((Task)task).ConfigureAwait(false).GetAwaiter();
            ConfiguredTaskAwaitable<object?>.ConfiguredTaskAwaiter configuredTyped = task.ConfigureAwait(false).GetAwaiter();
            for (int attempt = 0; attempt < 3; attempt++)
            {
                nint address = Unsafe.As<Task<object?>, nint>(ref task);
                if (FirstWord(ref plain) == address && FirstWord(ref typed) == address &&
                    FirstWord(ref configured) == address && FirstWord(ref configuredTyped) == address)
                {
                    return true;
                }
            }
            return false;
        }

        private static bool BuildersHoldTaskFirst()
        {
            AsyncTaskMethodBuilder plain = AsyncTaskMethodBuilder.Create();
            AsyncTaskMethodBuilder<object?> typed = AsyncTaskMethodBuilder<object?>.Create();
            // Empty builders hold nothing: a reference field would read 0.
            if (FirstWord(ref plain) != 0 || FirstWord(ref typed) != 0) return false;
            Task plainTask = plain.Task;
            Task<object?> typedTask = typed.Task;
            for (int attempt = 0; attempt < 3; attempt++)
            {
                if (FirstWord(ref plain) == Unsafe.As<Task, nint>(ref plainTask) &&
                    FirstWord(ref typed) == Unsafe.As<Task<object?>, nint>(ref typedTask))
                {
                    return true;
                }
            }
            return false;
        }

        // Compared as numbers: until the layout is known, the first word must
        // not be handled as a reference. A collection between the reads can
        // move the task; the next try then sees both at the new address.
        private static nint FirstWord<T>(ref T value) where T : struct =>
            Unsafe.SizeOf<T>() >= Unsafe.SizeOf<nint>() ? Unsafe.As<T, nint>(ref value) : -1;
    }
}
