using System;
using System.IO;
using System.Runtime.InteropServices;
using System.Text;

// Has the tool library write its report when the program ends in a way that
// skips the library's own unload: a SIGTERM, SIGINT or SIGQUIT that the
// runtime re-raises once its handlers have run, or an unhandled exception,
// after which the runtime aborts. At a normal exit it passes on the exit
// code. Every handler leaves the program's own behaviour alone: it cancels
// nothing and never throws.
internal static unsafe class ProcessEndReport
{
    private static delegate* unmanaged<byte*, byte*, int, int, int> s_flush;

    // A registration that is collected unregisters its handler.
    private static PosixSignalRegistration[]? s_signals;

    // The last signal this handler let through, with the context every
    // handler of that signal shares: whether the signal was cancelled in the
    // end is known only once all of them have run.
    private static Tuple<PosixSignalContext, string>? s_letThrough;

    public static void Watch(string directory)
    {
        // Only when the profiler runs: loading the tool library into a program
        // it is not part of would make it write a report of its own.
        if (Environment.GetEnvironmentVariable("CORECLR_ENABLE_PROFILING") != "1") return;
        string file = OperatingSystem.IsWindows() ? "vesktool.dll" : "vesktool.so";
        if (!NativeLibrary.TryLoad(Path.Combine(directory, file), out IntPtr library)) return;
        if (!NativeLibrary.TryGetExport(library, "vesktool_flush_report", out IntPtr flush)) return;
        s_flush = (delegate* unmanaged<byte*, byte*, int, int, int>)flush;

        AppDomain.CurrentDomain.ProcessExit += (_, _) => Flush(SignalEndingTheProcess() ?? "exit", null, ExitCode());
        AppDomain.CurrentDomain.UnhandledException += (_, e) =>
            Flush("unhandled-exception", TypeName(e.ExceptionObject), null);
        if (OperatingSystem.IsWindows()) return;
        s_signals = new[]
        {
            OnSignal(PosixSignal.SIGTERM, "sigterm"),
            OnSignal(PosixSignal.SIGINT, "sigint"),
            OnSignal(PosixSignal.SIGQUIT, "sigquit"),
        };
    }

    // Handlers run in no fixed order: a program's handler that cancels the
    // signal may run after this one. The report is then written early, and
    // written again when the program really ends.
    private static PosixSignalRegistration OnSignal(PosixSignal signal, string end) =>
        PosixSignalRegistration.Create(signal, context =>
        {
            if (context.Cancel) return;
            s_letThrough = Tuple.Create(context, end);
            Flush(end, null, null);
        });

    // Some runtimes exit the process after a termination signal that no
    // handler cancelled, running the process-exit handlers: the signal is
    // still what ended the program. Null when the program cancelled the last
    // signal and went on, or saw none.
    private static string? SignalEndingTheProcess()
    {
        Tuple<PosixSignalContext, string>? letThrough = s_letThrough;
        return letThrough != null && !letThrough.Item1.Cancel ? letThrough.Item2 : null;
    }

    private static int? ExitCode()
    {
        try
        {
            return Environment.ExitCode;
        }
        catch (Exception)
        {
            return null;
        }
    }

    private static string? TypeName(object? exception)
    {
        try
        {
            return exception?.GetType().FullName;
        }
        catch (Exception)
        {
            return null;
        }
    }

    private static void Flush(string end, string? detail, int? exitCode)
    {
        try
        {
            byte[] endText = Encoding.UTF8.GetBytes(end + "\0");
            byte[]? detailText = detail != null ? Encoding.UTF8.GetBytes(detail + "\0") : null;
            fixed (byte* endBytes = endText)
            fixed (byte* detailBytes = detailText)
            {
                s_flush(endBytes, detailBytes, exitCode ?? 0, exitCode.HasValue ? 1 : 0);
            }
        }
        catch (Exception)
        {
            // Nothing may escape into the runtime's exit path.
        }
    }
}
