// Times the hot synchronisation primitives in loops and prints one line per
// primitive: NAME nanoseconds-per-operation, in the thread's processor time. With a tool directory as its
// argument it also times one direct call of the tool's report entry, the
// part of a redirected call that is the tool's own counting. Under the
// profiler it also times the identity question the tool asks, as the tool
// asks it.
using System;
using System.Diagnostics;
using System.IO;
using System.Runtime.CompilerServices;
using System.Runtime.InteropServices;
using System.Threading;
using System.Threading.Tasks;

namespace SyncCost
{
    internal static class Program
    {
        private const int Operations = 2_000_000;
        private static readonly object s_gate = new object();
        private static readonly Lock s_lock = new Lock();
        private static readonly SemaphoreSlim s_semaphore = new SemaphoreSlim(1);
        private static int s_value;
        private static int s_sink;

        private static int Main(string[] args)
        {
            Measure("lock(object)", LockObject);
            Measure("lock(Lock)", LockLock);
            Measure("Interlocked.Increment", Increment);
            Measure("Volatile.Read", VolatileRead);
            Measure("SemaphoreSlim.Wait+Release", Semaphore);
            Measure("await completed task", AwaitCompleted);
            if (args.Length > 0) MeasureToolReport(args[0]);
            MeasureIdentity();
            return s_sink == 42 ? 1 : 0;
        }

        private static void Measure(string name, Action<int> loop)
        {
            loop(Operations / 10);
            double best = double.MaxValue;
            for (int round = 0; round < 5; round++)
            {
                long start = ThreadNanoseconds();
                loop(Operations);
                double ns = (double)(ThreadNanoseconds() - start) / Operations;
                best = Math.Min(best, ns);
            }
            Console.WriteLine($"{name} {best:F2}");
        }

        // The thread's own processor time: on a shared machine, time the
        // thread spent waiting for a processor would swamp the differences.
        [StructLayout(LayoutKind.Sequential)]
        private struct TimeSpec
        {
            public long Seconds;
            public long Nanoseconds;
        }

        [DllImport("libc", EntryPoint = "clock_gettime")]
        private static extern int ClockGetTime(int clock, out TimeSpec time);

        private const int ThreadCpuClock = 3;

        private static long ThreadNanoseconds()
        {
            if (!OperatingSystem.IsLinux() || ClockGetTime(ThreadCpuClock, out TimeSpec time) != 0)
                return (long)(Stopwatch.GetTimestamp() * (1e9 / Stopwatch.Frequency));
            return time.Seconds * 1_000_000_000 + time.Nanoseconds;
        }

        [MethodImpl(MethodImplOptions.NoInlining)]
        private static void LockObject(int n)
        {
            for (int i = 0; i < n; i++)
            {
                lock (s_gate) s_value++;
            }
        }

        [MethodImpl(MethodImplOptions.NoInlining)]
        private static void LockLock(int n)
        {
            for (int i = 0; i < n; i++)
            {
                lock (s_lock) s_value++;
            }
        }

        [MethodImpl(MethodImplOptions.NoInlining)]
        private static void Increment(int n)
        {
            for (int i = 0; i < n; i++) Interlocked.Increment(ref s_value);
        }

        [MethodImpl(MethodImplOptions.NoInlining)]
        private static void VolatileRead(int n)
        {
            int sum = 0;
            for (int i = 0; i < n; i++) sum += Volatile.Read(ref s_value);
            s_sink = sum;
        }

        [MethodImpl(MethodImplOptions.NoInlining)]
        private static void Semaphore(int n)
        {
            for (int i = 0; i < n; i++)
            {
                s_semaphore.Wait();
                s_semaphore.Release();
            }
        }

        [MethodImpl(MethodImplOptions.NoInlining)]
        private static void AwaitCompleted(int n) => AwaitLoop(n).GetAwaiter().GetResult();

        private static async Task AwaitLoop(int n)
        {
            Task done = Task.CompletedTask;
            for (int i = 0; i < n; i++) await done;
        }

        // The report entry as the wrappers call it, without a wrapper around.
        private static unsafe void MeasureToolReport(string dist)
        {
            if (!NativeLibrary.TryLoad(Path.Combine(dist, "vesktool.so"), out IntPtr library) ||
                !NativeLibrary.TryGetExport(library, "vesktool_report_call", out IntPtr entry))
                return;
            var report = (delegate* unmanaged[SuppressGCTransition]<int, int, int, nint, int>)entry;
            int thread = Environment.CurrentManagedThreadId;
            Measure("tool report (one call)", n =>
            {
                for (int i = 0; i < n; i++) report(255, 0, thread, 0);
            });
        }

        // Pinned, so that the addresses taken once stay the objects'. One
        // object asked again and again is what a lock pair asks; objects asked
        // in turn are what a program that uses many locks asks.
        private static unsafe void MeasureIdentity()
        {
            string? profiler = Environment.GetEnvironmentVariable("CORECLR_PROFILER_PATH");
            if (profiler == null || !NativeLibrary.TryLoad(profiler, out IntPtr library) ||
                !NativeLibrary.TryGetExport(library, "getObjectID", out IntPtr entry) ||
                !NativeLibrary.TryGetExport(library, "getProfilerGuid", out IntPtr constant))
                return;
            var identify = (delegate* unmanaged[SuppressGCTransition]<nint, uint>)entry;
            // The tool asks from native code: the call from here is timed
            // alone, on an export that only returns a constant.
            var nothing = (delegate* unmanaged[SuppressGCTransition]<nint>)constant;
            Measure("native call (no work)", n =>
            {
                nint sum = 0;
                for (int i = 0; i < n; i++) sum += nothing();
                s_sink = (int)sum;
            });
            const int Objects = 64;
            var pinned = new byte[Objects][];
            var addresses = new nint[Objects];
            for (int i = 0; i < Objects; i++)
            {
                pinned[i] = GC.AllocateArray<byte>(16, pinned: true);
                addresses[i] = *(nint*)Unsafe.AsPointer(ref pinned[i]);
            }
            Measure("identity look-up (one object)", n =>
            {
                uint sum = 0;
                for (int i = 0; i < n; i++) sum += identify(addresses[0]);
                s_sink = (int)sum;
            });
            Measure("identity look-up (64 objects in turn)", n =>
            {
                uint sum = 0;
                for (int i = 0; i < n; i++) sum += identify(addresses[i % Objects]);
                s_sink = (int)sum;
            });
            GC.KeepAlive(pinned);
        }
    }
}
