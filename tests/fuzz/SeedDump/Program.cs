// Writes fuzzing seeds taken from the assemblies of the runtime it runs on:
// method and member-reference signatures, custom-attribute value blobs and
// method bodies, one file each, and small assemblies whole.
//
//   SeedDump OUTPUT_DIR [PER_KIND]
using System;
using System.Collections.Generic;
using System.IO;
using System.Linq;
using System.Reflection.Metadata;
using System.Reflection.PortableExecutable;
using System.Security.Cryptography;

namespace SeedDump
{
    internal static class Program
    {
        private static int Main(string[] args)
        {
            if (args.Length < 1)
            {
                Console.Error.WriteLine("usage: SeedDump OUTPUT_DIR [PER_KIND]");
                return 2;
            }
            int perKind = args.Length > 1 ? int.Parse(args[1]) : 400;
            string runtimeDir = Path.GetDirectoryName(typeof(object).Assembly.Location)!;
            var assemblies = Directory.GetFiles(runtimeDir, "*.dll").OrderBy(f => new FileInfo(f).Length).ToList();
            var seeds = new Seeds(args[0], perKind);
            foreach (string file in assemblies.Take(12)) seeds.Add("pe_version", File.ReadAllBytes(file));
            foreach (string file in assemblies)
            {
                try
                {
                    Dump(file, seeds);
                }
                catch (BadImageFormatException)
                {
                    // Native libraries among the assemblies.
                }
                if (seeds.Full) break;
            }
            Console.WriteLine(seeds.Summary());
            return 0;
        }

        private static void Dump(string file, Seeds seeds)
        {
            using var stream = File.OpenRead(file);
            using var pe = new PEReader(stream);
            if (!pe.HasMetadata) return;
            MetadataReader md = pe.GetMetadataReader();
            foreach (MethodDefinitionHandle handle in md.MethodDefinitions)
            {
                MethodDefinition method = md.GetMethodDefinition(handle);
                seeds.Add("signature", md.GetBlobBytes(method.Signature));
                if (method.RelativeVirtualAddress == 0) continue;
                MethodBodyBlock body = pe.GetMethodBody(method.RelativeVirtualAddress);
                PEMemoryBlock block = pe.GetSectionData(method.RelativeVirtualAddress);
                if (body.Size <= block.Length) seeds.Add("il_body", block.GetContent(0, body.Size).ToArray());
            }
            foreach (MemberReferenceHandle handle in md.MemberReferences)
                seeds.Add("signature", md.GetBlobBytes(md.GetMemberReference(handle).Signature));
            foreach (CustomAttributeHandle handle in md.CustomAttributes)
                seeds.Add("attribute_blob", md.GetBlobBytes(md.GetCustomAttribute(handle).Value));
        }
    }

    internal sealed class Seeds
    {
        private readonly string _root;
        private readonly int _perKind;
        private readonly Dictionary<string, HashSet<string>> _written = new();

        public Seeds(string root, int perKind)
        {
            _root = root;
            _perKind = perKind;
        }

        public bool Full => _written.Count >= 4 && _written.Values.All(s => s.Count >= _perKind);

        public void Add(string kind, byte[] bytes)
        {
            if (bytes.Length == 0) return;
            if (!_written.TryGetValue(kind, out var names))
            {
                names = new HashSet<string>();
                _written[kind] = names;
                Directory.CreateDirectory(Path.Combine(_root, kind));
            }
            if (names.Count >= _perKind) return;
            string name = Convert.ToHexString(SHA1.HashData(bytes)).ToLowerInvariant();
            if (names.Add(name)) File.WriteAllBytes(Path.Combine(_root, kind, name), bytes);
        }

        public string Summary() => string.Join(", ", _written.Select(k => k.Key + " " + k.Value.Count));
    }
}
