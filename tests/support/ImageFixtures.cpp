// ImageFixtures: being written.
