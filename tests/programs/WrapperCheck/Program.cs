// Checks the built wrapper assembly the profiler loads: its identity, and
// that every wrapper's signature and body match the API it replaces. Prints the failures and "N passed, N failed";
// exits non-zero on any failure.
//
// usage: WrapperCheck path/to/veskmrte_clr40wrap.dll
using System;
using System.IO;
using System.Reflection;

namespace WrapperCheck
{
    internal static class Program
    {
        private static int Main(string[] args)
        {
            if (args.Length != 1 || !File.Exists(args[0]))
            {
                Console.Error.WriteLine("usage: WrapperCheck PATH/veskmrte_clr40wrap.dll");
                return 2;
            }
            string path = Path.GetFullPath(args[0]);
            var r = new Results();
            IdentityChecks.Run(path, r);
            try
            {
                Assembly assembly = Assembly.LoadFrom(path);
                r.Check(string.Equals(Path.GetFullPath(assembly.Location), path, StringComparison.Ordinal),
                        "the loaded assembly is the file under test");
                var index = new WrapperIndex(assembly);
                ShapeChecks.Run(index, r);
                ReferenceChecks.Run(index, r);
            }
            catch (Exception e)
            {
                r.Fail($"the assembly loads: {e.GetType().Name}: {e.Message}");
            }
            foreach (string f in r.Failures) Console.WriteLine("FAIL " + f);
            Console.WriteLine($"{r.Passed} passed, {r.Failures.Count} failed");
            return r.Failures.Count == 0 ? 0 : 1;
        }
    }
}
