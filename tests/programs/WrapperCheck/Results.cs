using System;
using System.Collections.Generic;

namespace WrapperCheck
{
    // Counts checks; failures are printed with their section and enough
    // context to find the wrapper.
    internal sealed class Results
    {
        private string _section = "";

        public int Passed { get; private set; }

        public List<string> Failures { get; } = new List<string>();

        public void Section(string name) => _section = name;

        public bool Check(bool condition, string what)
        {
            if (condition) Passed++;
            else
            {
                Failures.Add($"[{_section}] {what}");
            }
            return condition;
        }

        public void Fail(string what) => Check(false, what);
    }
}
