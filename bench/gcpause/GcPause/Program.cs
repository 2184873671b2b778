using System;
using System.Collections.Generic;
using System.Threading;

// Keeps many locked objects alive through compacting full collections and
// prints the collector's total pause over those collections. Under the
// profiler every lock asks for the object's identity, so all of them are
// tracked. Each round one object in ten is replaced (the old one dies, the
// new one is locked), so that every collection has holes to compact away and
// identities to drop. It prints the total pause and the median collection's.
//
// Usage: GcPause [objects=100000] [collections=20]
internal static class Program
{
    private static int Main(string[] args)
    {
        int count = args.Length > 0 ? int.Parse(args[0]) : 100_000;
        int collections = args.Length > 1 ? int.Parse(args[1]) : 20;
        var keep = new object[count];
        var garbage = new List<byte[]>();
        for (int i = 0; i < count; i++)
        {
            keep[i] = new object();
            garbage.Add(new byte[24 + i % 40]);
            Lock(keep[i]);
        }
        garbage.Clear();
        GC.Collect(2, GCCollectionMode.Forced, blocking: true, compacting: true);

        long gcsBefore = GC.CollectionCount(2);
        var pauses = new List<double>();
        TimeSpan before = GC.GetTotalPauseDuration();
        for (int round = 0; round < collections; round++)
        {
            for (int i = round % 10; i < count; i += 10)
            {
                keep[i] = new object();
                Lock(keep[i]);
            }
            GC.Collect(2, GCCollectionMode.Forced, blocking: true, compacting: true);
            pauses.Add(GC.GetGCMemoryInfo(GCKind.FullBlocking).PauseDurations[0].TotalMilliseconds);
        }
        TimeSpan pause = GC.GetTotalPauseDuration() - before;
        long gcs = GC.CollectionCount(2) - gcsBefore;
        int locked = 0;
        foreach (object o in keep) locked += Lock(o);
        // The median collection is steadier than the total on a busy machine:
        // a collection whose thread lost the processor does not move it.
        pauses.Sort();
        double median = pauses.Count == 0 ? 0 : pauses[pauses.Count / 2];
        // What the collections had to carry: a heap larger under the profiler
        // (the wrappers', the start-up hook's objects) would lengthen them.
        GCMemoryInfo last = GC.GetGCMemoryInfo(GCKind.FullBlocking);
        Console.WriteLine($"PAUSE_MS {pause.TotalMilliseconds:F3} MEDIAN_MS {median:F3} FULL_GCS {gcs} LOCKED {locked} " +
                          $"LIVE_KB {last.PromotedBytes / 1024}");
        return 0;
    }

    private static int Lock(object target)
    {
        Monitor.Enter(target);
        Monitor.Exit(target);
        return 1;
    }
}
