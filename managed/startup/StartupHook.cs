using System;
using System.IO;
using System.Reflection;
using System.Runtime.Loader;

// Runs before the program's Main when the launcher names this assembly in
// DOTNET_STARTUP_HOOKS. The profiler makes the program's modules reference the
// wrapper assembly, which lives in the tool directory and is on no
// application's assembly list; this hook resolves it from there, whatever
// deps.json the application brings and however it was started.
internal static class StartupHook
{
    private const string WrapperAssembly = "veskmrte_clr40wrap";

    public static void Initialize()
    {
        string? directory = Path.GetDirectoryName(typeof(StartupHook).Assembly.Location);
        if (string.IsNullOrEmpty(directory)) return;
        string path = Path.Combine(directory, WrapperAssembly + ".dll");
        if (!File.Exists(path)) return;
        AssemblyLoadContext.Default.Resolving += (context, name) =>
            string.Equals(name.Name, WrapperAssembly, StringComparison.Ordinal)
                ? context.LoadFromAssemblyPath(path)
                : null;
    }
}
