// A seekable stream reads the ranges the plug-in asks for; bad ranges never reach the browser; a stream
// asked for seekably from a server that cannot seek fails to open (13) and is freed.
var a = plugin.get(here + "data/ten.txt", "seekable buffer=4");
later(function () {
  assertEqual(plugin.log(a), "Created;Opened", "open, waiting for range reads");
  assertEqual(plugin.readRanges(a, "0-4,6-8"), true);
  assertEqual(plugin.readRanges(a, "5-3"), false, "an inverted range");
  assertEqual(plugin.readRanges(a, "0-4294967297"), false, "a range beyond 32 bits");
  later(function () {
    assertEqual(plugin.log(a), "Created;Opened;Data 0 4 40;Data 6 2 80", "exactly the ranges asked for");
    assertEqual(plugin.body(a), "0123??67");
    assertEqual(plugin.cancel(a), true, "the plug-in ends the stream");
    later(function () {
      assertEqual(plugin.log(a), "Created;Opened;Data 0 4 40;Data 6 2 80;Completed failed;Destroyed");
      testbrowser.network("seekable", "no");
      var b = plugin.get(here + "data/ten.txt", "seekable");
      later(function () {
        assertEqual(plugin.log(b), "Created;FailedOpen;Completed failed;Destroyed", "cannot seek");
        console.log("seek done");
      });
    });
  });
});
