using System;
using System.Collections.Generic;
using System.IO;
using System.Linq;
using System.Reflection.Metadata;
using System.Reflection.Metadata.Ecma335;
using System.Reflection.PortableExecutable;
using System.Threading;

public static class Samples
{
    static readonly object Gate = new object();
    static int counter;

    public static int Tiny(int a, int b) => a + b;

    public static void Locked()
    {
        lock (Gate) { counter++; }
    }

    public static string Switch(int v)
    {
        switch (v)
        {
            case 0: return "zero";
            case 1: return "one";
            case 2: return "two";
            case 3: return "three";
            case 5: return "five";
            default: return "many";
        }
    }

    public static int Filtered(Func<int> f)
    {
        try { return f(); }
        catch (InvalidOperationException e) when (e.Message.Length > 3) { return 1; }
        catch (Exception) { return 2; }
        finally { Monitor.Exit(Gate); }
    }

    public static T Generic<T>(List<T> items) where T : IComparable<T>
    {
        T best = default;
        foreach (T item in items)
            if (best == null || item.CompareTo(best) > 0) best = item;
        return best;
    }

    public static void LongTry(int x)
    {
        try
        {
            Console.WriteLine("line 0" + x);
            Console.WriteLine("line 1" + x);
            Console.WriteLine("line 2" + x);
            Console.WriteLine("line 3" + x);
            Console.WriteLine("line 4" + x);
            Console.WriteLine("line 5" + x);
            Console.WriteLine("line 6" + x);
            Console.WriteLine("line 7" + x);
            Console.WriteLine("line 8" + x);
            Console.WriteLine("line 9" + x);
            Console.WriteLine("line 10" + x);
            Console.WriteLine("line 11" + x);
            Console.WriteLine("line 12" + x);
            Console.WriteLine("line 13" + x);
            Console.WriteLine("line 14" + x);
            Console.WriteLine("line 15" + x);
            Console.WriteLine("line 16" + x);
            Console.WriteLine("line 17" + x);
            Console.WriteLine("line 18" + x);
            Console.WriteLine("line 19" + x);
            Console.WriteLine("line 20" + x);
            Console.WriteLine("line 21" + x);
            Console.WriteLine("line 22" + x);
            Console.WriteLine("line 23" + x);
            Console.WriteLine("line 24" + x);
            Console.WriteLine("line 25" + x);
            Console.WriteLine("line 26" + x);
            Console.WriteLine("line 27" + x);
            Console.WriteLine("line 28" + x);
            Console.WriteLine("line 29" + x);
        }
        finally { Monitor.Exit(Gate); }
    }

    public static Func<string> MakeDelegate(object o) => o.ToString;

    public static int Nested(int[] data)
    {
        int sum = 0;
        try
        {
            for (int i = 0; i < data.Length; i++)
            {
                try { sum += 100 / data[i]; }
                catch (DivideByZeroException) { sum -= 1; }
            }
        }
        finally { counter = sum; }
        var sem = new SemaphoreSlim(1);
        sem.Wait();
        sem.Release();
        return sum;
    }
}

// Prints "Type::Method 0xTOKEN HEX" for each Samples method, or with
// --corpus FILE [ASSEMBLY] writes every method body of the assembly
// (System.Private.CoreLib by default) to FILE as records of a 32-bit token, a
// 32-bit size and the body's bytes, little-endian.
public static class Program
{
    static void Dump(string path, Func<string, bool> want, BinaryWriter corpus)
    {
        using var stream = File.OpenRead(path);
        using var pe = new PEReader(stream);
        var md = pe.GetMetadataReader();
        foreach (var h in md.MethodDefinitions)
        {
            var def = md.GetMethodDefinition(h);
            if (def.RelativeVirtualAddress == 0) continue;
            var name = md.GetString(md.GetTypeDefinition(def.GetDeclaringType()).Name) + "::" + md.GetString(def.Name);
            if (want != null && !want(name)) continue;
            var body = pe.GetMethodBody(def.RelativeVirtualAddress);
            var bytes = pe.GetSectionData(def.RelativeVirtualAddress).GetContent(0, body.Size).ToArray();
            int token = MetadataTokens.GetToken(h);
            if (corpus != null) { corpus.Write(token); corpus.Write(bytes.Length); corpus.Write(bytes); }
            else Console.WriteLine($"{name} 0x{token:X8} {Convert.ToHexString(bytes)}");
        }
    }

    public static void Main(string[] args)
    {
        if (args.Length >= 2 && args[0] == "--corpus")
        {
            using var corpus = new BinaryWriter(File.Create(args[1]));
            Dump(args.Length > 2 ? args[2] : typeof(object).Assembly.Location, null, corpus);
            return;
        }
        Dump(typeof(Program).Assembly.Location, n => n.StartsWith("Samples::"), null);
    }
}
