using System;
using System.Collections.Generic;
using System.IO;
using System.Linq;
using System.Text.RegularExpressions;

namespace Veskmrte.Symbolize
{
    // Finds the JIT files a process wrote, where the profiler's file-name
    // generator put them: veskmrte-<pid>-<UTC time>[-<n>].jit in
    // VESKMRTE_JIT_DIR, else TMPDIR, else /tmp.
    internal static class JitFileLocator
    {
        public static string Directory()
        {
            foreach (string variable in new[] { "VESKMRTE_JIT_DIR", "TMPDIR" })
            {
                string? value = Environment.GetEnvironmentVariable(variable);
                if (!string.IsNullOrEmpty(value)) return value;
            }
            return "/tmp";
        }

        // All files of the latest process with that id: a process id can be
        // reused, and each process stamps its files with its start time, which
        // sorts as text. One process may write several (the -2, -3 ... ones).
        public static List<string> Find(string directory, uint processId)
        {
            var pattern = new Regex("^veskmrte-" + processId + @"-(\d{8}T\d{6}\.\d{6}Z)(-\d+)?\.jit$");
            string[] names;
            try
            {
                names = System.IO.Directory.GetFiles(directory).Select(Path.GetFileName).OfType<string>().ToArray();
            }
            catch (Exception e) when (e is IOException || e is UnauthorizedAccessException)
            {
                throw new JitFileException($"cannot list the JIT file directory {directory}: {e.Message}");
            }
            var matches = names.Select(n => (name: n, match: pattern.Match(n))).Where(m => m.match.Success).ToList();
            if (matches.Count == 0) return new List<string>();
            string latest = matches.Max(m => m.match.Groups[1].Value)!;
            return matches.Where(m => m.match.Groups[1].Value == latest)
                          .OrderBy(m => m.match.Groups[2].Value.Length)
                          .ThenBy(m => m.match.Groups[2].Value, StringComparer.Ordinal)
                          .Select(m => Path.Combine(directory, m.name))
                          .ToList();
        }
    }
}
