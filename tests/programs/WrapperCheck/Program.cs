// Checks the built wrapper assembly the profiler loads: its identity, the
// replacement attributes as the profiler reads them, that every wrapper's
// signature and body match the API it replaces. Prints "N passed, N
// failed"; exits non-zero on any failure.
//
// usage: WrapperCheck [--verbose] [path/to/veskmrte_clr40wrap.dll]
// Without a path it looks in $VESK_DIST_DIR.
using System;
using System.IO;
using System.Linq;
using System.Reflection;

namespace WrapperCheck
{
    internal static class Program
    {
        private static int Main(string[] args)
        {
            bool verbose = args.Contains("--verbose");
            string? path = args.FirstOrDefault(a => !a.StartsWith("--", StringComparison.Ordinal));
            if (path == null && Environment.GetEnvironmentVariable("VESK_DIST_DIR") is string dist)
            {
                path = Path.Combine(dist, IdentityChecks.ExpectedName + ".dll");
            }
            if (path == null || !File.Exists(path))
            {
                Console.Error.WriteLine("usage: WrapperCheck [--verbose] PATH/veskmrte_clr40wrap.dll (or set VESK_DIST_DIR)");
                return 2;
            }
            path = Path.GetFullPath(path);
            Console.WriteLine("checking " + path);

            var r = new Results(verbose);
            IdentityChecks.Run(path, r);

            Assembly assembly;
            try
            {
                assembly = Assembly.LoadFrom(path);
            }
            catch (Exception e)
            {
                r.Fail($"the assembly loads: {e.GetType().Name}: {e.Message}");
                return Finish(r);
            }
            r.Check(string.Equals(Path.GetFullPath(assembly.Location), path, StringComparison.Ordinal), "the loaded assembly is the file under test");
            var index = new WrapperIndex(assembly);
            PrintLayout(index);

            MetadataChecks.Run(path, assembly, index, r);
            ShapeChecks.Run(index, r);
            ReferenceChecks.Run(index, r);
            return Finish(r);
        }

        private static void PrintLayout(WrapperIndex index)
        {
            Console.WriteLine($"wrappers: {index.All.Count} methods");
            foreach (var type in index.All.GroupBy(w => w.Method.DeclaringType!).OrderBy(g => g.Key.FullName, StringComparer.Ordinal))
            {
                Console.WriteLine($"  {type.Key.FullName}: {type.Count()} [{type.First().Assembly}] {type.First().Class}");
            }
        }

        private static int Finish(Results r)
        {
            r.EndSection();
            if (r.Failed > 0)
            {
                Console.WriteLine("failures:");
                foreach (string f in r.Failures)
                {
                    Console.WriteLine("  " + f);
                }
            }
            Console.WriteLine($"{r.Passed} passed, {r.Failed} failed");
            return r.Failed == 0 ? 0 : 1;
        }
    }
}
