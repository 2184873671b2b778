using System;
using System.Collections.Generic;
using System.IO;
using System.Linq;
using System.Text.Encodings.Web;
using System.Text.Json;
using System.Text.Json.Nodes;

namespace Veskmrte.Symbolize
{
    // veskmrte-symbolize [-o OUT] REPORT.json [JITFILE...]
    //
    // Prints the tool's report with a name added to every stack frame.
    internal static class Program
    {
        private const int ExitUsage = 1;
        private const int ExitBadInput = 2;
        private const int ExitInternal = 3;

        private const string Usage =
            "usage: veskmrte-symbolize [-o OUT] REPORT.json [JITFILE...]\n" +
            "Prints REPORT.json (or writes it to OUT) with \"name\" added to every stack frame\n" +
            "(\"ilOffset\", \"file\", \"line\" for managed frames, \"symbol\" for native ones, where known).\n" +
            "Without JIT files it reads those of the report's process from VESKMRTE_JIT_DIR,\n" +
            "else TMPDIR, else /tmp.";

        private static int Main(string[] args)
        {
            try
            {
                return Run(args);
            }
            catch (InputException e)
            {
                Console.Error.WriteLine("veskmrte-symbolize: " + e.Message);
                return ExitBadInput;
            }
            catch (JitFileException e)
            {
                Console.Error.WriteLine("veskmrte-symbolize: " + e.Message);
                return ExitBadInput;
            }
            catch (Exception e)
            {
                // A user gets one line, not the runtime's trace of our code.
                Console.Error.WriteLine($"veskmrte-symbolize: internal error: {e.GetType().Name}: {e.Message}");
                return ExitInternal;
            }
        }

        private static int Run(string[] args)
        {
            string? output = null;
            var positional = new List<string>();
            for (int i = 0; i < args.Length; i++)
            {
                switch (args[i])
                {
                    case "-h":
                    case "--help":
                        Console.WriteLine(Usage);
                        return 0;
                    case "-o":
                    case "--output":
                        if (i + 1 >= args.Length) return UsageError("-o needs a file");
                        output = args[++i];
                        break;
                    case "--":
                        positional.AddRange(args.Skip(i + 1));
                        i = args.Length;
                        break;
                    default:
                        if (args[i].StartsWith('-') && args[i].Length > 1) return UsageError("unknown option " + args[i]);
                        positional.Add(args[i]);
                        break;
                }
            }
            if (positional.Count == 0) return UsageError("no report named");

            string reportPath = positional[0];
            JsonObject report = ReadReport(reportPath);
            List<string> jitPaths = positional.Skip(1).ToList();

            var warnings = new HashSet<string>();
            void Warn(string text)
            {
                if (warnings.Add(text)) Console.Error.WriteLine("veskmrte-symbolize: warning: " + text);
            }

            using var managed = new ManagedNames(Warn);
            var native = new NativeNames(ReadModules(report), Warn);
            // Files named are read whatever the report holds, so that a wrong
            // name is never passed over in silence; otherwise only a report
            // with managed frames needs the process's JIT files.
            JitCodeMap? named = jitPaths.Count > 0 ? LoadCodeMap(report, jitPaths, Warn) : null;
            var namer = new FrameNamer(() => named ?? LoadCodeMap(report, jitPaths, Warn), managed, native);
            namer.NameAll(report);

            string text = report.ToJsonString(new JsonSerializerOptions
            {
                WriteIndented = true,
                // Names such as "<Main>b__0_0" stay readable.
                Encoder = JavaScriptEncoder.UnsafeRelaxedJsonEscaping,
            }) + "\n";
            if (output == null) Console.Out.Write(text);
            else WriteReplacing(output, text);
            return 0;
        }

        private static int UsageError(string message)
        {
            Console.Error.WriteLine("veskmrte-symbolize: " + message);
            Console.Error.WriteLine(Usage);
            return ExitUsage;
        }

        private static JsonObject ReadReport(string path)
        {
            string text;
            try
            {
                text = File.ReadAllText(path);
            }
            catch (Exception e) when (e is IOException || e is UnauthorizedAccessException)
            {
                throw new InputException($"cannot read the report {path}: {e.Message}");
            }
            try
            {
                return JsonNode.Parse(text) as JsonObject
                       ?? throw new InputException($"{path} is not a report: its JSON is not an object");
            }
            catch (JsonException e)
            {
                throw new InputException($"{path} is not a JSON report: {e.Message}");
            }
        }

        // The report's "modules": [{path, base, start, end}], which the tool
        // library lists when it writes the report.
        private static IEnumerable<LoadedModule> ReadModules(JsonObject report)
        {
            if (report["modules"] is not JsonArray modules) yield break;
            foreach (JsonNode? item in modules)
            {
                if (item is not JsonObject module || module["path"] is not JsonValue pathValue ||
                    !pathValue.TryGetValue(out string? path) || !FrameNamer.TryAddress(module["base"], out ulong bias) ||
                    !FrameNamer.TryAddress(module["start"], out ulong start) ||
                    !FrameNamer.TryAddress(module["end"], out ulong end))
                    continue;
                yield return new LoadedModule(path, bias, start, end);
            }
        }

        private static JitCodeMap LoadCodeMap(JsonObject report, List<string> paths, Action<string> warn)
        {
            if (paths.Count == 0)
            {
                if (!(report["pid"] is JsonValue pidValue && pidValue.TryGetValue(out uint pid)))
                    throw new InputException("the report names no process id: name its JIT files after the report");
                string directory = JitFileLocator.Directory();
                paths = JitFileLocator.Find(directory, pid);
                if (paths.Count == 0)
                    throw new JitFileException(
                        $"no JIT file of process {pid} in {directory} (set VESKMRTE_JIT_DIR to where it is, or name the files)");
            }
            var records = new List<JitRecord>();
            foreach (string path in paths)
            {
                JitFile file = JitFile.Read(path);
                if (file.Damage != null) warn($"{path} is damaged ({file.Damage}): using the records before it");
                records.AddRange(file.Records);
            }
            return new JitCodeMap(records);
        }

        private static void WriteReplacing(string path, string text)
        {
            string temporary = path + ".tmp." + Environment.ProcessId;
            try
            {
                File.WriteAllText(temporary, text);
                File.Move(temporary, path, overwrite: true);
            }
            catch (Exception e) when (e is IOException || e is UnauthorizedAccessException)
            {
                try { File.Delete(temporary); } catch (IOException) { } catch (UnauthorizedAccessException) { }
                throw new InputException($"cannot write {path}: {e.Message}");
            }
        }

        private sealed class InputException : Exception
        {
            public InputException(string message) : base(message) { }
        }
    }
}
