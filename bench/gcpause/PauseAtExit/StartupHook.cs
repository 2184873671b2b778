using System;
using System.IO;

// Loaded by the runtime (DOTNET_STARTUP_HOOKS) into a program that nobody
// here wrote: at its exit, appends the process's total garbage-collection
// pause and its collections per generation to the file VESK_PAUSE_REPORT
// names, one line per process, so that programs that start others report
// every process.
internal static class StartupHook
{
    public static void Initialize()
    {
        string? path = Environment.GetEnvironmentVariable("VESK_PAUSE_REPORT");
        if (string.IsNullOrEmpty(path)) return;
        AppDomain.CurrentDomain.ProcessExit += (_, _) =>
        {
            string line = string.Format(System.Globalization.CultureInfo.InvariantCulture,
                "PAUSE_MS {0:F3} GCS {1} {2} {3}\n", GC.GetTotalPauseDuration().TotalMilliseconds,
                GC.CollectionCount(0), GC.CollectionCount(1), GC.CollectionCount(2));
            try
            {
                File.AppendAllText(path, line);
            }
            catch (IOException)
            {
                // A report lost is a round the script refuses, not a program that fails.
            }
        };
    }
}
