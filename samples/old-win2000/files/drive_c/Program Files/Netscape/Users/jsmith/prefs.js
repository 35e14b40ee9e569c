// Netscape User Preferences
user_pref("browser.startup.homepage", "http://intranet.acme.example/");
