using System;
using System.IO;
using System.Reflection;
using System.Runtime.Loader;

// Runs before the program's Main when the launcher names this assembly in
// DOTNET_STARTUP_HOOKS. The profiler makes the program's modules reference the
// wrapper assembly, which lives in the tool directory and is on no
// application's assembly list; this hook resolves it from there, whatever
// deps.json the application brings and however it was started. It also tells
// the tool library how the program ends.
//
// An exception out of Initialize would stop the program before its Main, so
// nothing here may throw.
internal static class StartupHook
{
    private const string WrapperAssembly = "veskmrte_clr40wrap";
    private const string NewerBuild = "net9.0";

    public static void Initialize()
    {
        string? directory;
        try
        {
            directory = Path.GetDirectoryName(typeof(StartupHook).Assembly.Location);
        }
        catch (Exception)
        {
            return;
        }
        if (string.IsNullOrEmpty(directory)) return;
        try
        {
            ResolveWrappersFrom(directory);
        }
        catch (Exception)
        {
            // Without the wrapper assembly the profiler leaves calls as they are.
        }
        try
        {
            ProcessEndReport.Watch(directory);
        }
        catch (Exception)
        {
            // Without it the report is still written at a normal exit.
        }
    }

    // The profiler serves a runtime from the newest build of the wrapper
    // assembly whose references it has: from .NET 9 on, the one in net9.0/.
    private static void ResolveWrappersFrom(string directory)
    {
        string path = Path.Combine(directory, WrapperAssembly + ".dll");
        string newer = Path.Combine(directory, NewerBuild, WrapperAssembly + ".dll");
        if (Environment.Version.Major >= 9 && File.Exists(newer)) path = newer;
        if (!File.Exists(path)) return;
        AssemblyLoadContext.Default.Resolving += (context, name) =>
            string.Equals(name.Name, WrapperAssembly, StringComparison.Ordinal)
                ? context.LoadFromAssemblyPath(path)
                : null;
    }
}
