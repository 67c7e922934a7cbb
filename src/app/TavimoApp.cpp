// TavimoApp: being written.
