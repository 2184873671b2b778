using System;
using System.Collections.Generic;

namespace WrapperCheck
{
    // Counts checks per section; passes are quiet unless --verbose, failures
    // are always printed with enough context to find the wrapper.
    internal sealed class Results
    {
        private readonly bool _verbose;
        private string _section = "";
        private int _sectionPassed;
        private int _sectionFailed;

        public Results(bool verbose)
        {
            _verbose = verbose;
        }

        public int Passed { get; private set; }

        public int Failed { get; private set; }

        public List<string> Failures { get; } = new List<string>();

        public void Section(string name)
        {
            EndSection();
            _section = name;
        }

        public void EndSection()
        {
            if (_section.Length > 0)
            {
                Console.WriteLine($"{_section}: {_sectionPassed} passed, {_sectionFailed} failed");
            }
            _section = "";
            _sectionPassed = 0;
            _sectionFailed = 0;
        }

        public bool Check(bool condition, string what)
        {
            if (condition)
            {
                Passed++;
                _sectionPassed++;
                if (_verbose)
                {
                    Console.WriteLine("  ok   " + what);
                }
            }
            else
            {
                Failed++;
                _sectionFailed++;
                Failures.Add($"[{_section}] {what}");
                Console.WriteLine("  FAIL " + what);
            }
            return condition;
        }

        public void Fail(string what) => Check(false, what);
    }
}
