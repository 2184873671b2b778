using System;
using System.Collections.Generic;
using System.IO;
using System.Linq;

namespace Veskmrte.Symbolize
{
    internal sealed record NativeName(string Name, string? Symbol);

    // A loaded ELF object as the report lists it: Base is the address the
    // file's own addresses are counted from, Start to End what it occupied.
    internal sealed record LoadedModule(string Path, ulong Base, ulong Start, ulong End);

    // Names native addresses by the library they fall in, and by the function
    // symbol when the library has one.
    internal sealed class NativeNames
    {
        private readonly LoadedModule[] _modules;
        private readonly Dictionary<string, ElfSymbols> _symbols = new Dictionary<string, ElfSymbols>();
        private readonly Action<string> _warn;

        public NativeNames(IEnumerable<LoadedModule> modules, Action<string> warn)
        {
            _modules = modules.OrderBy(m => m.Start).ToArray();
            _warn = warn;
        }

        public NativeName? Name(ulong address)
        {
            LoadedModule? module = _modules.LastOrDefault(m => m.Start <= address);
            if (module == null || address >= module.End || address < module.Base) return null;
            ulong offset = address - module.Base;
            string library = Path.GetFileName(module.Path);
            if (library.Length == 0) library = module.Path;
            return new NativeName($"{library}+0x{offset:x}", Symbols(module.Path).Find(offset));
        }

        private ElfSymbols Symbols(string path)
        {
            if (_symbols.TryGetValue(path, out ElfSymbols? known)) return known;
            ElfSymbols read = ElfSymbols.None;
            // Only files: the kernel's virtual objects have a name but no file.
            if (path.StartsWith('/'))
            {
                try
                {
                    read = ElfSymbols.Read(path);
                }
                catch (Exception e) when (e is IOException || e is UnauthorizedAccessException ||
                                          e is ArgumentOutOfRangeException)
                {
                    _warn($"cannot read the symbols of {path}: {e.Message}");
                }
            }
            _symbols[path] = read;
            return read;
        }
    }
}
