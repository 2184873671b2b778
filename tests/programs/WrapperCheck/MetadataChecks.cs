using System;
using System.Collections.Generic;
using System.Linq;
using System.Reflection;

namespace WrapperCheck
{
    // Where the replacement attributes sit. Their blobs are what the profiler
    // parses: a blob it cannot read leaves its API unredirected, which the
    // integration suite's redirection counts show.
    internal static class MetadataChecks
    {
        public static void Run(Assembly assembly, WrapperIndex index, Results r)
        {
            r.Section("attribute");
            r.Check(index.All.Count > 0, $"found {index.All.Count} replacement attributes");
            CheckPlacement(assembly, index, r);
        }

        // Every public static method of a public type is a wrapper with exactly
        // one attribute, and every attributed method is such a method.
        private static void CheckPlacement(Assembly assembly, WrapperIndex index, Results r)
        {
            foreach (Type type in assembly.GetTypes())
            {
                if (type.FullName == WrapperIndex.AttributeFullName)
                {
                    continue;
                }
                foreach (MethodInfo m in type.GetMethods(BindingFlags.Public | BindingFlags.Static | BindingFlags.DeclaredOnly))
                {
                    if (type.IsPublic)
                    {
                        r.Check(index.AttributeCounts.GetValueOrDefault(m) == 1, $"public static {type.FullName}.{m.Name} carries exactly one replacement attribute");
                    }
                }
            }
            foreach (Wrapper w in index.All)
            {
                Type t = w.Method.DeclaringType!;
                r.Check(w.Method.IsPublic && w.Method.IsStatic && t.IsPublic, $"wrapper is public static in a public type: {w}");
                r.Check(!t.ContainsGenericParameters, $"wrapper type is not an open generic type: {w}");
            }
        }
    }
}
