// A worker thread waits for a body while the instance goes away: the wait ends, nothing hangs or leaks.
plugin.syncGet(location.protocol + "//" + location.host + "/ten.txt");
testbrowser.destroy("plugin");
console.log("midwait done");
