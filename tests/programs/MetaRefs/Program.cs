// Lists the member references of an assembly as the metadata holds them, one
// JSON object per line: {"assembly", "type", "name", "count"}, where count is
// the number of member references of that name on that type. The integration
// suite compares the profiler's findings with this independent reading.
using System;
using System.Collections.Generic;
using System.IO;
using System.Reflection.Metadata;
using System.Reflection.PortableExecutable;
using System.Text.Json;

namespace MetaRefs
{
    internal static class Program
    {
        private static int Main(string[] args)
        {
            if (args.Length != 1)
            {
                Console.Error.WriteLine("usage: MetaRefs ASSEMBLY");
                return 2;
            }
            using var stream = File.OpenRead(args[0]);
            using var pe = new PEReader(stream);
            MetadataReader md = pe.GetMetadataReader();
            var counts = new SortedDictionary<string, (string Assembly, string Type, string Name, int Count)>();
            foreach (MemberReferenceHandle handle in md.MemberReferences)
            {
                MemberReference member = md.GetMemberReference(handle);
                if (member.Parent.Kind != HandleKind.TypeReference) continue;
                TypeReference type = md.GetTypeReference((TypeReferenceHandle)member.Parent);
                if (type.ResolutionScope.Kind != HandleKind.AssemblyReference) continue;
                string assembly = md.GetString(md.GetAssemblyReference((AssemblyReferenceHandle)type.ResolutionScope).Name);
                string typeName = md.GetString(type.Namespace) + "." + md.GetString(type.Name);
                string name = md.GetString(member.Name);
                string key = assembly + "|" + typeName + "|" + name;
                counts[key] = counts.TryGetValue(key, out var entry)
                    ? (assembly, typeName, name, entry.Count + 1)
                    : (assembly, typeName, name, 1);
            }
            foreach (var entry in counts.Values)
            {
                Console.WriteLine(JsonSerializer.Serialize(new Dictionary<string, object>
                {
                    ["assembly"] = entry.Assembly, ["type"] = entry.Type, ["name"] = entry.Name, ["count"] = entry.Count,
                }));
            }
            return 0;
        }
    }
}
