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
                // A nested type reads "Outer+Inner", scoped by its outermost type's assembly.
                TypeReference type = md.GetTypeReference((TypeReferenceHandle)member.Parent);
                string typeName = md.GetString(type.Name);
                while (type.ResolutionScope.Kind == HandleKind.TypeReference)
                {
                    type = md.GetTypeReference((TypeReferenceHandle)type.ResolutionScope);
                    typeName = md.GetString(type.Name) + "+" + typeName;
                }
                if (type.ResolutionScope.Kind != HandleKind.AssemblyReference) continue;
                string assembly = md.GetString(md.GetAssemblyReference((AssemblyReferenceHandle)type.ResolutionScope).Name);
                typeName = md.GetString(type.Namespace) + "." + typeName;
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
