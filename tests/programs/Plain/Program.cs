// A program whose own module names no synchronisation API.
namespace Plain
{
    internal static class Program
    {
        private static int Main(string[] args)
        {
            int sum = 0;
            foreach (string a in args) sum += a.Length;
            System.Console.WriteLine("plain: " + sum);
            return 0;
        }
    }
}
