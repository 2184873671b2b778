using System;
using System.Collections.Generic;
using System.IO;
using System.Reflection.Metadata;
using System.Reflection.Metadata.Ecma335;
using System.Reflection.PortableExecutable;
using System.Text;

namespace Veskmrte.Symbolize
{
    internal sealed record ManagedName(string Name, int? IlOffset, string? File, int? Line);

    // Names compiled bodies from their modules' metadata and, where a portable
    // PDB belongs to the module (beside it or embedded), their source lines.
    internal sealed class ManagedNames : IDisposable
    {
        private const int MethodDefTable = 0x06;
        private readonly Dictionary<string, ModuleSymbols?> _modules = new Dictionary<string, ModuleSymbols?>();
        private readonly Action<string> _warn;

        public ManagedNames(Action<string> warn)
        {
            _warn = warn;
        }

        public ManagedName Name(CodeHit hit)
        {
            JitRecord record = hit.Record;
            int? ilOffset = IlOffsetAt(record.IlMap, hit.NativeOffset);
            string fallback = $"{ShortModuleName(record.ModulePath)}!0x{record.MethodToken:x8}";
            ModuleSymbols? module = record.ModulePath != null ? Module(record.ModulePath) : null;
            if (module == null || (record.MethodToken >> 24) != MethodDefTable) return new ManagedName(fallback, ilOffset, null, null);
            int row = (int)(record.MethodToken & 0xFFFFFF);
            if (row == 0 || row > module.Metadata.GetTableRowCount(TableIndex.MethodDef))
                return new ManagedName(fallback, ilOffset, null, null);
            MethodDefinitionHandle method = MetadataTokens.MethodDefinitionHandle(row);
            string name = MethodName(module.Metadata, method);
            (string? file, int? line) = ilOffset.HasValue ? module.SourceLine(method, ilOffset.Value) : (null, null);
            return new ManagedName(name, ilOffset, file, line);
        }

        // The IL instruction a native offset belongs to, read the way the
        // runtime reads its own map: the first entry, in the map's order, whose
        // native range holds the offset; an entry without an end reaches to the
        // end of the body.
        internal static int? IlOffsetAt(IlMapEntry[]? map, uint nativeOffset)
        {
            if (map == null) return null;
            foreach (IlMapEntry entry in map)
            {
                if (nativeOffset >= entry.NativeStart && (entry.NativeEnd == 0 || nativeOffset < entry.NativeEnd))
                    return entry.IlOffset <= int.MaxValue ? (int)entry.IlOffset : null;
            }
            return null;
        }

        // Namespace.Type.Method, nested types joined with '+', names as
        // metadata keeps them (so generic types carry their `arity).
        internal static string MethodName(MetadataReader metadata, MethodDefinitionHandle handle)
        {
            MethodDefinition method = metadata.GetMethodDefinition(handle);
            return TypeName(metadata, method.GetDeclaringType()) + "." + metadata.GetString(method.Name);
        }

        private static string TypeName(MetadataReader metadata, TypeDefinitionHandle handle)
        {
            var nesting = new List<string>();
            TypeDefinition type = metadata.GetTypeDefinition(handle);
            while (true)
            {
                nesting.Add(metadata.GetString(type.Name));
                TypeDefinitionHandle outer = type.GetDeclaringType();
                if (outer.IsNil) break;
                type = metadata.GetTypeDefinition(outer);
            }
            var text = new StringBuilder();
            string ns = metadata.GetString(type.Namespace);
            if (ns.Length > 0) text.Append(ns).Append('.');
            for (int i = nesting.Count - 1; i >= 0; i--)
            {
                text.Append(nesting[i]);
                if (i > 0) text.Append('+');
            }
            return text.ToString();
        }

        private static string ShortModuleName(string? path) =>
            string.IsNullOrEmpty(path) ? "<module without file>" : System.IO.Path.GetFileName(path);

        private ModuleSymbols? Module(string path)
        {
            if (_modules.TryGetValue(path, out ModuleSymbols? known)) return known;
            ModuleSymbols? opened = null;
            try
            {
                opened = ModuleSymbols.Open(path, _warn);
            }
            catch (Exception e) when (e is IOException || e is UnauthorizedAccessException || e is BadImageFormatException ||
                                      e is InvalidOperationException)
            {
                _warn($"cannot read the metadata of {path}: {e.Message}");
            }
            _modules[path] = opened;
            return opened;
        }

        public void Dispose()
        {
            foreach (ModuleSymbols? module in _modules.Values) module?.Dispose();
            _modules.Clear();
        }

        private sealed class ModuleSymbols : IDisposable
        {
            private readonly PEReader _image;
            private readonly MetadataReaderProvider? _pdbProvider;
            private readonly MetadataReader? _pdb;
            private readonly Action<string> _warn;
            private bool _pdbFailed;

            private ModuleSymbols(PEReader image, MetadataReader metadata, MetadataReaderProvider? pdbProvider,
                                  Action<string> warn)
            {
                _image = image;
                Metadata = metadata;
                _pdbProvider = pdbProvider;
                _pdb = pdbProvider?.GetMetadataReader();
                _warn = warn;
            }

            public MetadataReader Metadata { get; }

            public static ModuleSymbols? Open(string path, Action<string> warn)
            {
                var image = new PEReader(File.OpenRead(path));
                try
                {
                    if (!image.HasMetadata)
                    {
                        warn($"{path} holds no metadata");
                        image.Dispose();
                        return null;
                    }
                    MetadataReader metadata = image.GetMetadataReader();
                    MetadataReaderProvider? pdb = null;
                    try
                    {
                        // Accepts only the PDB whose id matches the module.
                        image.TryOpenAssociatedPortablePdb(path, OpenIfPresent, out pdb, out _);
                    }
                    catch (Exception e) when (e is BadImageFormatException || e is IOException)
                    {
                        warn($"cannot read the debug information of {path}: {e.Message}");
                    }
                    return new ModuleSymbols(image, metadata, pdb, warn);
                }
                catch
                {
                    image.Dispose();
                    throw;
                }
            }

            private static Stream? OpenIfPresent(string path) => File.Exists(path) ? File.OpenRead(path) : null;

            // The source line of the last visible sequence point at or before
            // the IL offset, as the runtime's own stack traces choose it.
            public (string?, int?) SourceLine(MethodDefinitionHandle method, int ilOffset)
            {
                if (_pdb == null || _pdbFailed) return (null, null);
                try
                {
                    MethodDebugInformation info = _pdb.GetMethodDebugInformation(method.ToDebugInformationHandle());
                    SequencePoint? best = null;
                    foreach (SequencePoint point in info.GetSequencePoints())
                    {
                        if (point.Offset > ilOffset) break;
                        if (!point.IsHidden) best = point;
                    }
                    if (best == null) return (null, null);
                    Document document = _pdb.GetDocument(best.Value.Document);
                    return (_pdb.GetString(document.Name), best.Value.StartLine);
                }
                catch (BadImageFormatException e)
                {
                    _pdbFailed = true;
                    _warn($"damaged debug information: {e.Message}");
                    return (null, null);
                }
            }

            public void Dispose()
            {
                _pdbProvider?.Dispose();
                _image.Dispose();
            }
        }
    }
}
