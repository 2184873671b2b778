using System;
using System.IO;
using System.Runtime.CompilerServices;
using System.Runtime.InteropServices;
using System.Threading;

namespace Veskmrte.Wrappers
{
    // Every wrapper calls Before ahead of the original API, and blocking ones
    // call After once it has returned (not when it throws). Wrappers of lock
    // APIs report instead what the call does to its lock, which the tool
    // needs to know which locks each thread holds: Acquiring ahead of a call
    // that blocks until it holds the lock, Acquired after one that holds it
    // (After when it did not get it), Releasing and Waiting ahead of calls
    // that give up one or every hold. An id is its name's place in
    // ApiTable.Names. These run on every intercepted call in the profiled
    // program, so they must never allocate, lock or throw: each report is one
    // call into the tool library, which sits beside this assembly.
    internal static unsafe class Report
    {
        private const int PhaseBefore = 0;
        private const int PhaseAfter = 1;
        private const int PhaseAcquiring = 2;
        private const int PhaseAcquired = 3;
        private const int PhaseReleasing = 4;
        private const int PhaseWaiting = 5;

        // The call stays in cooperative mode, so no collection runs while the
        // tool is inside it. The object goes over as the place that holds the
        // reference, not as its address: an address taken in managed code is
        // a plain number to the compiler, which may compute it once for
        // several reports on one object, and a collection at a call between
        // them (the lock taken, an allocation) would leave the later reports
        // with the address the object had before it moved. The slot itself is
        // kept current by the collector, and the tool reads it inside the call.
        private static readonly delegate* unmanaged[SuppressGCTransition]<int, int, int, nint, int> s_report = Connect();

        // An atomic or volatile access names a memory location, not an
        // object, and the location's address is a plain number once taken: a
        // collection at a safe point before the report may move the location.
        // The collection era, read before the address is taken, lets the
        // tool tell: any collection since ended that era.
        private static readonly delegate* unmanaged[SuppressGCTransition]<ulong> s_era =
            (delegate* unmanaged[SuppressGCTransition]<ulong>)Export("vesktool_collection_era");
        private static readonly delegate* unmanaged[SuppressGCTransition]<int, int, int, nint, ulong, int> s_reportLocation =
            (delegate* unmanaged[SuppressGCTransition]<int, int, int, nint, ulong, int>)Export("vesktool_report_location");

        internal static void Before(int apiId, object? instance) => Send(apiId, PhaseBefore, instance);

        internal static void Location<T>(int apiId, ref readonly T location)
        {
            var report = s_reportLocation;
            var era = s_era;
            if (report == null || era == null)
            {
                Send(apiId, PhaseBefore, null);
                return;
            }
            ulong now = era();
            report(apiId, PhaseBefore, Environment.CurrentManagedThreadId, (nint)Unsafe.AsPointer(ref Unsafe.AsRef(in location)), now);
        }

        internal static void After(int apiId, object? instance) => Send(apiId, PhaseAfter, instance);

        internal static void Acquiring(int apiId, object? instance) => Send(apiId, PhaseAcquiring, instance);

        internal static void Acquired(int apiId, object? instance, bool acquired) =>
            Send(apiId, acquired ? PhaseAcquired : PhaseAfter, instance);

        // Of the wait handles only a mutex is owned, and so ordered.
        internal static void AcquiringMutex(int apiId, object? instance) =>
            Send(apiId, instance is Mutex ? PhaseAcquiring : PhaseBefore, instance);

        internal static void AcquiredMutex(int apiId, object? instance, bool acquired) =>
            Send(apiId, acquired && instance is Mutex ? PhaseAcquired : PhaseAfter, instance);

        internal static void Releasing(int apiId, object? instance) => Send(apiId, PhaseReleasing, instance);

        internal static void Waiting(int apiId, object? instance) => Send(apiId, PhaseWaiting, instance);

        [MethodImpl(MethodImplOptions.AggressiveInlining)]
        private static void Send(int apiId, int phase, object? instance)
        {
            var report = s_report;
            if (report == null) return;
            report(apiId, phase, Environment.CurrentManagedThreadId, (nint)Unsafe.AsPointer(ref instance));
        }

        // The tool library, in the tool directory; zero without it.
        private static IntPtr Library()
        {
            string? directory = Path.GetDirectoryName(typeof(Report).Assembly.Location);
            if (string.IsNullOrEmpty(directory)) return IntPtr.Zero;
#if NET9_0_OR_GREATER
            // This build sits in net9.0/ of the tool directory.
            directory = Path.GetDirectoryName(directory);
            if (string.IsNullOrEmpty(directory)) return IntPtr.Zero;
#endif
            string file = OperatingSystem.IsWindows() ? "vesktool.dll" : "vesktool.so";
            return NativeLibrary.TryLoad(Path.Combine(directory, file), out IntPtr library) ? library : IntPtr.Zero;
        }

        private static void* Export(string name)
        {
            try
            {
                IntPtr library = Library();
                return library != IntPtr.Zero && NativeLibrary.TryGetExport(library, name, out IntPtr export)
                    ? (void*)export
                    : null;
            }
            catch (Exception)
            {
                return null;
            }
        }

        // Without the tool library the wrappers only pass calls through.
        private static delegate* unmanaged[SuppressGCTransition]<int, int, int, nint, int> Connect()
        {
            try
            {
                IntPtr library = Library();
                if (library == IntPtr.Zero) return null;
                if (!NativeLibrary.TryGetExport(library, "vesktool_report_call", out IntPtr report)) return null;
                if (NativeLibrary.TryGetExport(library, "vesktool_define_api", out IntPtr define))
                {
                    var defineApi = (delegate* unmanaged<int, byte*, int>)define;
                    ReadOnlySpan<byte> names = ApiTable.Names;
                    fixed (byte* first = names)
                    {
                        // By hand: the span's own search would bring in a
                        // further assembly to load.
                        for (int at = 0, id = 0; at < names.Length; id++)
                        {
                            defineApi(id, first + at);
                            while (names[at] != 0) at++;
                            at++;
                        }
                    }
                }
                return (delegate* unmanaged[SuppressGCTransition]<int, int, int, nint, int>)report;
            }
            catch (Exception)
            {
                return null;
            }
        }
    }
}
