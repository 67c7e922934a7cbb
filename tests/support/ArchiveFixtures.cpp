// ArchiveFixtures: being written.
